// The desktop's keys and mouse buttons for "quillfret-check --keys", seen as
// the program sees them: low-level hooks decide the trigger events with the
// program's own rules and post them to this thread, which prints them.
#include <windows.h>

#include "app/key_state.h"
#include "engine/hook_decisions.h"
#include "key_session.h"

namespace {

constexpr UINT kTriggerMessage = WM_APP + 1;  // wParam the code, lParam 1 press / 0 release
constexpr int32_t kEndKey = VK_ESCAPE;

// The hook procedures get no context: the session's thread and held keys.
DWORD session_thread = 0;
HeldKeySet held_keys;

void PostTriggers(const TriggerEvents& triggers) {
    for (int i = 0; i < triggers.count; ++i) {
        const TriggerEvent& event = triggers.events[i];
        PostThreadMessageW(session_thread, kTriggerMessage, static_cast<WPARAM>(event.code), event.down ? 1 : 0);
    }
}

LRESULT CALLBACK KeyboardProc(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HC_ACTION) {
        // NOLINTNEXTLINE(performance-no-int-to-ptr): the system passes the record's address in lParam.
        const auto& record = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lparam);
        PostTriggers(KeyboardTriggers(held_keys, static_cast<uint32_t>(wparam), static_cast<int32_t>(record.vkCode)));
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

LRESULT CALLBACK MouseProc(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HC_ACTION) {
        // NOLINTNEXTLINE(performance-no-int-to-ptr): the system passes the record's address in lParam.
        const auto& record = *reinterpret_cast<const MSLLHOOKSTRUCT*>(lparam);
        PostTriggers(MouseTriggers(static_cast<uint32_t>(wparam), record.mouseData));
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

}  // namespace

int RunKeySession(KeySession& session, std::ostream& out, std::ostream& err) {
    session_thread = GetCurrentThreadId();
    HHOOK keyboard = SetWindowsHookExW(WH_KEYBOARD_LL, KeyboardProc, nullptr, 0);
    HHOOK mouse = SetWindowsHookExW(WH_MOUSE_LL, MouseProc, nullptr, 0);
    if (keyboard == nullptr || mouse == nullptr) {
        err << "quillfret-check: the keys of this desktop cannot be watched (error " << GetLastError() << ")\n";
        if (keyboard != nullptr) UnhookWindowsHookEx(keyboard);
        if (mouse != nullptr) UnhookWindowsHookEx(mouse);
        return 2;
    }
    PrintKeySessionHeader(session, out);
    out.flush();
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message != kTriggerMessage) continue;
        const auto code = static_cast<int32_t>(message.wParam);
        const bool down = message.lParam != 0;
        out << KeyLine(session, code, down, KeyIsDownNow) << std::endl;  // each line as it happens
        if (code == kEndKey && down) break;
    }
    UnhookWindowsHookEx(keyboard);
    UnhookWindowsHookEx(mouse);
    return 0;
}
