#include "app/main_loop.h"

#include "config/config_loader.h"

namespace {

constexpr ULONGLONG kReloadDelayMs = 100;

// Dispatches every pending message; false once the quit message is taken.
bool DispatchPendingMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) return false;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return true;
}

// A folder change schedules a reload at `due_at` (0 = none pending). The
// watch stays signalled until it is re-armed, so it is only waited on while
// no reload is pending; meanwhile the wait times out at the reload deadline.
struct ReloadTimer {
    ULONGLONG due_at = 0;

    bool Pending() const { return due_at != 0; }
    DWORD WaitTimeout() const {
        if (!Pending()) return INFINITE;
        const ULONGLONG now = GetTickCount64();
        return now >= due_at ? 0 : static_cast<DWORD>(due_at - now);
    }
    bool Due() const { return Pending() && GetTickCount64() >= due_at; }
};

void ReloadAndRearm(AppState& state) {
    LoadConfig(state);
    // The watch may have been released meanwhile (window destroyed from outside).
    if (state.folder_watch != nullptr) FindNextChangeNotification(state.folder_watch);
}

}  // namespace

void StartFolderWatch(AppState& state) {
    HANDLE watch = FindFirstChangeNotificationW(state.cfg_dir.c_str(), FALSE,
                                                FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_FILE_NAME);
    // The failure value is INVALID_HANDLE_VALUE, not null; "no watch" is null
    // everywhere else, so that nothing waits on or closes the failure value.
    state.folder_watch = watch == INVALID_HANDLE_VALUE ? nullptr : watch;
}

void RunMainLoop(AppState& state) {
    ReloadTimer reload;
    for (;;) {
        const bool watching = state.folder_watch != nullptr && !reload.Pending();
        const DWORD woke =
            MsgWaitForMultipleObjects(watching ? 1 : 0, &state.folder_watch, FALSE, reload.WaitTimeout(), QS_ALLINPUT);
        if (watching && woke == WAIT_OBJECT_0) reload.due_at = GetTickCount64() + kReloadDelayMs;
        if (reload.Due()) {
            reload = {};
            ReloadAndRearm(state);
        }
        if (!DispatchPendingMessages()) return;
    }
}
