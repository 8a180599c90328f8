#include "app/cfg_folder.h"

#include <initializer_list>
#include <utility>

#include "app/app_state.h"
#include "app/balloon.h"
#include "app/error_text.h"
#include "app/port_sender.h"
#include "config/catalogue.h"
#include "config/config_loader.h"
#include "config/config_name.h"

namespace {

constexpr int64_t kReloadDelayMs = 100;
constexpr int64_t kLookIntervalMs = 1000;

int64_t Now() { return static_cast<int64_t>(GetTickCount64()); }

bool Due(const std::optional<int64_t>& at, int64_t now) { return at && now >= *at; }

// What has the name of CFG.
enum class CfgEntry { kFolder, kAbsent, kNotAFolder, kUnknown };

struct Examined {
    CfgEntry entry;
    DWORD error;  // kUnknown: why the question could not be answered
};

Examined ExamineCfg(const std::wstring& cfg_dir) {
    const DWORD attributes = GetFileAttributesW(cfg_dir.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        return {(attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? CfgEntry::kFolder : CfgEntry::kNotAFolder, 0};
    }
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return {CfgEntry::kAbsent, 0};
    return {CfgEntry::kUnknown, error};
}

// ERROR_SUCCESS, or why the folder could not be made. Made meanwhile by
// someone else is just as good.
DWORD CreateCfgFolder(const std::wstring& cfg_dir) {
    if (CreateDirectoryW(cfg_dir.c_str(), nullptr)) return ERROR_SUCCESS;
    const DWORD error = GetLastError();
    return error == ERROR_ALREADY_EXISTS ? ERROR_SUCCESS : error;
}

// A folder without the right to list it passes every existence test, yet no
// mapping file in it could ever be found: refuse it now.
std::optional<std::wstring> CheckListable(const std::wstring& cfg_dir) {
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((cfg_dir + L"\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        FindClose(search);
        return std::nullopt;
    }
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND) return std::nullopt;
    return L"It cannot be read: " + SystemErrorText(error);
}

// Keeps the watch on the folder named `cfg_dir`: closes it when CFG is gone
// (deleted or moved away), and starts a new one, followed by a load, when the
// folder is there again and nothing watches it.
void FollowCfgFolder(AppState& state) {
    const bool present = ExamineCfg(state.cfg_dir).entry == CfgEntry::kFolder;
    // A watch would hold a deleted folder (on Windows it stays pending
    // deletion while a handle is open, and cannot be made again) or follow a
    // moved one, never seeing the folder made again under the name.
    if (state.cfg_folder.watch != nullptr) {
        if (!present) StopCfgWatch(state);
        return;
    }
    if (!present) return;
    StartCfgWatch(state);
    // The current file may have been saved into the folder before the watch began.
    if (state.cfg_folder.watch != nullptr) LoadCurrentConfig(state);
}

}  // namespace

std::optional<std::wstring> PrepareCfgFolder(const std::wstring& cfg_dir) {
    const Examined examined = ExamineCfg(cfg_dir);
    switch (examined.entry) {
        case CfgEntry::kFolder: break;
        case CfgEntry::kNotAFolder: return std::wstring(L"A file of that name is in the way: it is not a folder.");
        case CfgEntry::kUnknown: return L"It cannot be examined: " + SystemErrorText(examined.error);
        case CfgEntry::kAbsent:
            if (const DWORD error = CreateCfgFolder(cfg_dir)) return L"It cannot be created: " + SystemErrorText(error);
            break;
    }
    return CheckListable(cfg_dir);
}

void LoadCurrentConfig(AppState& state) {
    CfgFolder& folder = state.cfg_folder;
    const LoadResult result = LoadConfig(state, PortSender(state));
    NoteLoadOutcome(folder.load_retry, result.outcome, Now());
    const bool gave_up = result.outcome == LoadOutcome::ReadAgain && !folder.load_retry.due_at;
    std::optional<std::wstring> news =
        NewsOfLoad(folder.news, ConfigFileName(state.current_config), result, state.key_names, gave_up);
    if (!news) return;
    const DWORD kind = folder.news.told_trouble ? NIIF_WARNING : NIIF_INFO;
    if (state.tray_icon.cbSize == 0) {
        folder.untold = std::move(*news);
        folder.untold_kind = kind;
        return;
    }
    ShowBalloon(state.tray_icon, *news, kind);
}

void TellUntoldNews(AppState& state) {
    CfgFolder& folder = state.cfg_folder;
    if (!folder.untold.empty()) ShowBalloon(state.tray_icon, std::exchange(folder.untold, {}), folder.untold_kind);
}

void StartCfgWatch(AppState& state) {
    HANDLE watch = FindFirstChangeNotificationW(state.cfg_dir.c_str(), FALSE,
                                                FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_FILE_NAME);
    // The failure value is INVALID_HANDLE_VALUE, not null; "no watch" is null
    // everywhere else, so that nothing waits on or closes the failure value.
    state.cfg_folder.watch = watch == INVALID_HANDLE_VALUE ? nullptr : watch;
}

void StopCfgWatch(AppState& state) {
    if (HANDLE watch = std::exchange(state.cfg_folder.watch, nullptr)) FindCloseChangeNotification(watch);
}

void RescanCfgFolder(AppState& state) {
    FollowCfgFolder(state);  // a CFG that is gone lets its watch go before it is made again
    const CfgEntry entry = ExamineCfg(state.cfg_dir).entry;
    // A folder that cannot be made lists nothing, and one that cannot even
    // be examined is not listed.
    if (entry == CfgEntry::kAbsent) static_cast<void>(CreateCfgFolder(state.cfg_dir));
    if (entry == CfgEntry::kUnknown) {
        state.config_list.clear();
    } else {
        ScanConfigs(state);
    }
    FollowCfgFolder(state);  // and the folder made is watched
}

CfgWait NextCfgWait(AppState& state) {
    CfgFolder& folder = state.cfg_folder;
    const int64_t now = Now();
    if (folder.watch == nullptr && !folder.look_at) folder.look_at = now + kLookIntervalMs;
    std::optional<int64_t> earliest;
    for (const std::optional<int64_t>& at : {folder.reload_at, folder.look_at, folder.load_retry.due_at}) {
        if (at && (!earliest || *at < *earliest)) earliest = at;
    }
    const DWORD timeout = !earliest ? INFINITE : now >= *earliest ? 0 : static_cast<DWORD>(*earliest - now);
    // The watch stays signalled until it is re-armed, so it is only waited on
    // while no reload is pending.
    return {folder.reload_at ? nullptr : folder.watch, timeout};
}

void HandleCfgWake(AppState& state, bool watch_signalled) {
    CfgFolder& folder = state.cfg_folder;
    const int64_t now = Now();
    if (watch_signalled) folder.reload_at = now + kReloadDelayMs;
    if (Due(folder.reload_at, now)) {
        folder.reload_at.reset();
        LoadCurrentConfig(state);
        FollowCfgFolder(state);  // a wake may find CFG gone
        // The watch may also have been released meanwhile (window destroyed from outside).
        if (folder.watch != nullptr) FindNextChangeNotification(folder.watch);
    }
    if (LoadRetryDue(folder.load_retry, now)) LoadCurrentConfig(state);
    if (Due(folder.look_at, now)) {
        folder.look_at.reset();
        FollowCfgFolder(state);
    }
}
