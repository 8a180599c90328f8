#include "app/input_hooks.h"

#include "app/window_messages.h"
#include "engine/hook_decisions.h"

namespace {

// Posting never blocks; a post that fails (a full queue) loses that event
// only, which is better than stalling the desktop's input.
void PostTriggers(HWND window, UINT message, const TriggerEvents& triggers) {
    for (int i = 0; i < triggers.count; ++i) {
        const TriggerEvent& event = triggers.events[i];
        PostMessageW(window, message, static_cast<WPARAM>(event.code), event.down ? 1 : 0);
    }
}

}  // namespace

LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HC_ACTION) {
        // NOLINTNEXTLINE(performance-no-int-to-ptr): the system passes the record's address in lParam.
        const auto& record = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lparam);
        const auto vk = static_cast<int32_t>(record.vkCode);
        PostTriggers(app.window, WM_APP_KEYBOARD, KeyboardTriggers(app.held_keys, static_cast<uint32_t>(wparam), vk));
    }
    return CallNextHookEx(app.keyboard_hook, code, wparam, lparam);
}

LRESULT CALLBACK MouseHookProc(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HC_ACTION) {
        // NOLINTNEXTLINE(performance-no-int-to-ptr): the system passes the record's address in lParam.
        const auto& record = *reinterpret_cast<const MSLLHOOKSTRUCT*>(lparam);
        PostTriggers(app.window, WM_APP_MOUSE, MouseTriggers(static_cast<uint32_t>(wparam), record.mouseData));
    }
    return CallNextHookEx(app.mouse_hook, code, wparam, lparam);
}

void InstallInputHooks(AppState& state) {
    state.keyboard_hook = SetWindowsHookExW(WH_KEYBOARD_LL, KeyboardHookProc, nullptr, 0);
    state.mouse_hook = SetWindowsHookExW(WH_MOUSE_LL, MouseHookProc, nullptr, 0);
}
