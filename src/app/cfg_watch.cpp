#include "app/cfg_watch.h"

#include <utility>

#include "app/port_sender.h"
#include "config/config_loader.h"

namespace {

bool CfgFolderPresent(const AppState& state) {
    const DWORD attributes = GetFileAttributesW(state.cfg_dir.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

void StartFolderWatch(AppState& state) {
    HANDLE watch = FindFirstChangeNotificationW(state.cfg_dir.c_str(), FALSE,
                                                FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_FILE_NAME);
    // The failure value is INVALID_HANDLE_VALUE, not null; "no watch" is null
    // everywhere else, so that nothing waits on or closes the failure value.
    state.folder_watch = watch == INVALID_HANDLE_VALUE ? nullptr : watch;
}

void StopFolderWatch(AppState& state) {
    if (HANDLE watch = std::exchange(state.folder_watch, nullptr)) FindCloseChangeNotification(watch);
}

void FollowCfgFolder(AppState& state) {
    const bool present = CfgFolderPresent(state);
    // A watch would hold a deleted folder (on Windows it stays pending
    // deletion while a handle is open, and cannot be made again) or follow a
    // moved one, never seeing the folder made again under the name.
    if (state.folder_watch != nullptr) {
        if (!present) StopFolderWatch(state);
        return;
    }
    if (!present) return;
    StartFolderWatch(state);
    // The current file may have been saved into the folder before the watch began.
    if (state.folder_watch != nullptr) ReloadConfig(state);
}

void ReloadConfig(AppState& state) {
    NoteLoadOutcome(state.load_retry, LoadConfig(state, PortSender(state)), static_cast<int64_t>(GetTickCount64()));
}
