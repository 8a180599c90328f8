#include "app/main_loop.h"

#include <algorithm>

#include "app/app_state.h"

namespace {

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

}  // namespace

bool ServeOnce(AppState& state, DWORD most_ms) {
    const CfgWait wait = NextCfgWait(state.cfg_folder);
    const DWORD count = wait.watch != nullptr ? 1 : 0;
    const DWORD timeout = std::min(wait.timeout_ms, most_ms);  // INFINITE is the largest DWORD
    const DWORD woke = MsgWaitForMultipleObjects(count, &wait.watch, FALSE, timeout, QS_ALLINPUT);
    HandleCfgWake(state, count == 1 && woke == WAIT_OBJECT_0);
    return DispatchPendingMessages();
}

void RunMainLoop(AppState& state) {
    while (ServeOnce(state, INFINITE)) {
    }
}
