#include "app/cfg_folder.h"

#include <initializer_list>
#include <utility>

#include "app/app_state.h"
#include "app/error_text.h"
#include "config/config_name.h"
#include "config/utf8.h"

namespace {

int64_t Now() { return static_cast<int64_t>(GetTickCount64()); }

// What has the name of CFG.
enum class CfgEntry { Folder, Absent, NotAFolder, Unknown };

struct Examined {
    CfgEntry entry;
    DWORD error;  // Unknown: why the question could not be answered
};

Examined ExamineCfg(const std::wstring& cfg_dir) {
    const DWORD attributes = GetFileAttributesW(cfg_dir.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        return {(attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? CfgEntry::Folder : CfgEntry::NotAFolder, 0};
    }
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return {CfgEntry::Absent, 0};
    return {CfgEntry::Unknown, error};
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
    const bool present = ExamineCfg(state.cfg_dir).entry == CfgEntry::Folder;
    // A watch would hold a deleted folder (on Windows it stays pending
    // deletion while a handle is open, and cannot be made again) or follow a
    // moved one, never seeing the folder made again under the name.
    if (state.cfg_folder.watch != nullptr) {
        if (!present) StopCfgWatch(state.cfg_folder);
        return;
    }
    if (!present) return;
    StartCfgWatch(state.cfg_folder, state.cfg_dir);
    // The current file may have been saved into the folder before the watch began.
    if (state.cfg_folder.watch != nullptr) PutCurrentConfigInForce(state);
}

}  // namespace

// The module name is read into a buffer that grows until the whole path
// fits: a path cut short would put CFG into another folder.
ModuleFolder FindModuleFolder(HMODULE module) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {L"", GetLastError()};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const size_t separator = path.find_last_of(L"\\/");
    return {separator == std::wstring::npos ? path : path.substr(0, separator)};
}

std::optional<std::wstring> PrepareCfgFolder(const std::wstring& cfg_dir) {
    const Examined examined = ExamineCfg(cfg_dir);
    switch (examined.entry) {
        case CfgEntry::Folder: break;
        case CfgEntry::NotAFolder: return std::wstring(L"A file of that name is in the way: it is not a folder.");
        case CfgEntry::Unknown: return L"It cannot be examined: " + SystemErrorText(examined.error);
        case CfgEntry::Absent:
            if (const DWORD error = CreateCfgFolder(cfg_dir)) return L"It cannot be created: " + SystemErrorText(error);
            break;
    }
    return CheckListable(cfg_dir);
}

void PutCurrentConfigInForce(AppState& state) {
    CfgFolder& folder = state.cfg_folder;
    const TableSource source =
        state.current_config == state.loaded.path ? TableSource::SameFile : TableSource::AnotherFile;
    std::optional<MappingFileRead> read = LoadConfig(state.current_config, state.key_names, state.loaded);
    const bool gave_up =
        NoteRead(folder.schedule, state.current_config, read ? std::optional(read->status) : std::nullopt, Now());
    if (!read) return;
    // Told after the change, from what was read before its table went into force.
    const std::optional<LoadMessage> news =
        NewsOfLoad(folder.news, ConfigFileName(state.current_config), *read, state.key_names, gave_up);
    const PauseChange pause =
        PutInForce(state.engine, std::move(read->mappings), read->settings, source, PortSender(state.midi_out));
    if (read->settings.midi_device) state.midi_device = WideFromUtf8(*read->settings.midi_device);
    TellPause(state.tray_icon, pause, "");
    if (news) ShowLoadNews(state.tray_icon, LoadNewsText(*news), folder.news.told_trouble ? NIIF_WARNING : NIIF_INFO);
}

void StartCfgWatch(CfgFolder& folder, const std::wstring& cfg_dir) {
    if (folder.watch != nullptr) return;
    HANDLE watch = FindFirstChangeNotificationW(cfg_dir.c_str(), FALSE,
                                                FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_FILE_NAME);
    // The failure value is INVALID_HANDLE_VALUE, not null; "no watch" is null
    // everywhere else, so that nothing waits on or closes the failure value.
    folder.watch = watch == INVALID_HANDLE_VALUE ? nullptr : watch;
}

void StopCfgWatch(CfgFolder& folder) {
    if (HANDLE watch = std::exchange(folder.watch, nullptr)) FindCloseChangeNotification(watch);
}

void RescanCfgFolder(AppState& state) {
    FollowCfgFolder(state);  // a CFG that is gone lets its watch go before it is made again
    const CfgEntry entry = ExamineCfg(state.cfg_dir).entry;
    // A folder that cannot be made lists nothing, and one that cannot even
    // be examined is not listed.
    if (entry == CfgEntry::Absent) static_cast<void>(CreateCfgFolder(state.cfg_dir));
    state.config_list = entry == CfgEntry::Unknown ? ConfigList{} : ScanConfigs(state.cfg_dir);
    FollowCfgFolder(state);  // and the folder made is watched
}

CfgWait NextCfgWait(CfgFolder& folder) {
    ReadSchedule& schedule = folder.schedule;
    const int64_t now = Now();
    if (folder.watch == nullptr && !schedule.look_at) schedule.look_at = now + kLookIntervalMs;
    const std::optional<int64_t> earliest = NextDeadline(schedule);
    const DWORD timeout = !earliest ? INFINITE : now >= *earliest ? 0 : static_cast<DWORD>(*earliest - now);
    // The watch stays signalled until it is re-armed, so it is only waited on
    // while no reload is pending.
    return {schedule.reload_at ? nullptr : folder.watch, timeout};
}

void HandleCfgWake(AppState& state, bool watch_signalled) {
    CfgFolder& folder = state.cfg_folder;
    ReadSchedule& schedule = folder.schedule;
    const int64_t now = Now();
    if (watch_signalled) ScheduleReload(schedule, now);
    if (TakeDue(schedule.reload_at, now)) {
        PutCurrentConfigInForce(state);
        FollowCfgFolder(state);  // a wake may find CFG gone
        // The watch may also have been released meanwhile (window destroyed from outside).
        if (folder.watch != nullptr) FindNextChangeNotification(folder.watch);
    }
    if (TakeDue(schedule.retry_at, now)) PutCurrentConfigInForce(state);
    if (TakeDue(schedule.look_at, now)) FollowCfgFolder(state);
}
