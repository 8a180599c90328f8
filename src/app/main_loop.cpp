#include "app/main_loop.h"

#include <initializer_list>
#include <optional>

#include "app/cfg_watch.h"
#include "config/load_retry.h"

namespace {

constexpr int64_t kReloadDelayMs = 100;
constexpr int64_t kFolderCheckMs = 1000;

using Deadline = std::optional<int64_t>;  // GetTickCount64 milliseconds; empty: none

int64_t Now() { return static_cast<int64_t>(GetTickCount64()); }

bool Due(const Deadline& at, int64_t now) { return at && now >= *at; }

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

// The loop's own deadlines. The watch stays signalled until it is re-armed,
// so it is only waited on while no reload is pending.
struct LoopDeadlines {
    Deadline reload_at;        // a folder change was seen: reload then
    Deadline folder_check_at;  // nothing watches CFG: look for the folder then
};

DWORD WaitTimeout(const AppState& state, const LoopDeadlines& deadlines) {
    Deadline earliest;
    for (const Deadline& at : {deadlines.reload_at, deadlines.folder_check_at, state.load_retry.due_at}) {
        if (at && (!earliest || *at < *earliest)) earliest = at;
    }
    if (!earliest) return INFINITE;
    const int64_t now = Now();
    return now >= *earliest ? 0 : static_cast<DWORD>(*earliest - now);
}

void ReloadAndRearm(AppState& state) {
    ReloadConfig(state);
    FollowCfgFolder(state);  // a wake may find CFG gone
    // The watch may also have been released meanwhile (window destroyed from outside).
    if (state.folder_watch != nullptr) FindNextChangeNotification(state.folder_watch);
}

void RunDueWork(AppState& state, LoopDeadlines& deadlines) {
    const int64_t now = Now();
    if (Due(deadlines.reload_at, now)) {
        deadlines.reload_at.reset();
        ReloadAndRearm(state);
    }
    if (LoadRetryDue(state.load_retry, now)) ReloadConfig(state);
    if (Due(deadlines.folder_check_at, now)) {
        deadlines.folder_check_at.reset();
        FollowCfgFolder(state);
    }
}

}  // namespace

void RunMainLoop(AppState& state) {
    LoopDeadlines deadlines;
    for (;;) {
        const bool watching = state.folder_watch != nullptr && !deadlines.reload_at;
        if (state.folder_watch == nullptr && !deadlines.folder_check_at) {
            deadlines.folder_check_at = Now() + kFolderCheckMs;
        }
        const DWORD woke = MsgWaitForMultipleObjects(watching ? 1 : 0, &state.folder_watch, FALSE,
                                                     WaitTimeout(state, deadlines), QS_ALLINPUT);
        if (watching && woke == WAIT_OBJECT_0) deadlines.reload_at = Now() + kReloadDelayMs;
        RunDueWork(state, deadlines);
        if (!DispatchPendingMessages()) return;
    }
}
