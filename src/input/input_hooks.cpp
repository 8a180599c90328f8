#include "input/input_hooks.h"

#include <utility>

namespace {

// The record of the installed hooks: the system calls the procedures without
// a context argument. Null while no hook is installed.
InputHooks* hooked = nullptr;

// Posting never blocks; a post that fails (a full queue) loses that event
// only, which is better than stalling the desktop's input.
void PostTriggers(HWND window, UINT message, const TriggerEvents& triggers) {
    for (int i = 0; i < triggers.count; ++i) {
        const TriggerEvent& event = triggers.events[i];
        PostMessageW(window, message, static_cast<WPARAM>(event.code), event.down ? 1 : 0);
    }
}

// A call already on its way when the hooks were removed finds no record: it
// only passes the event on.
LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wparam, LPARAM lparam) {
    InputHooks* hooks = hooked;
    if (code == HC_ACTION && hooks != nullptr) {
        hooks->sightings.keyboard_ms = InputClockMs();
        // NOLINTNEXTLINE(performance-no-int-to-ptr): the system passes the record's address in lParam.
        const auto& record = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lparam);
        const auto vk = static_cast<int32_t>(record.vkCode);
        PostTriggers(hooks->target, WM_APP_KEYBOARD,
                     KeyboardTriggers(hooks->held_keys, static_cast<uint32_t>(wparam), vk));
    }
    return CallNextHookEx(hooks != nullptr ? hooks->keyboard_hook : nullptr, code, wparam, lparam);
}

LRESULT CALLBACK MouseHookProc(int code, WPARAM wparam, LPARAM lparam) {
    InputHooks* hooks = hooked;
    if (code == HC_ACTION && hooks != nullptr) {
        hooks->sightings.mouse_ms = InputClockMs();
        // NOLINTNEXTLINE(performance-no-int-to-ptr): the system passes the record's address in lParam.
        const auto& record = *reinterpret_cast<const MSLLHOOKSTRUCT*>(lparam);
        PostTriggers(hooks->target, WM_APP_MOUSE,
                     MouseTriggers(hooks->held_buttons, static_cast<uint32_t>(wparam), record.mouseData));
    }
    return CallNextHookEx(hooks != nullptr ? hooks->mouse_hook : nullptr, code, wparam, lparam);
}

}  // namespace

void InstallInputHooks(InputHooks& hooks) {
    hooked = &hooks;
    const int64_t now = InputClockMs();
    hooks.sightings = {now, now};
    hooks.installs.last_attempt = now;
    hooks.keyboard_hook = SetWindowsHookExW(WH_KEYBOARD_LL, KeyboardHookProc, nullptr, 0);
    hooks.mouse_hook = SetWindowsHookExW(WH_MOUSE_LL, MouseHookProc, nullptr, 0);
}

// The unhook results are not tested: a hook the system already removed
// leaves nothing to do, and a failing step must not keep the next from running.
void RemoveInputHooks(InputHooks& hooks) {
    if (HHOOK hook = std::exchange(hooks.keyboard_hook, nullptr)) UnhookWindowsHookEx(hook);
    if (HHOOK hook = std::exchange(hooks.mouse_hook, nullptr)) UnhookWindowsHookEx(hook);
    hooked = nullptr;
}

void ReinstallInputHooks(InputHooks& hooks) {
    RemoveInputHooks(hooks);
    InstallInputHooks(hooks);
    // Only now: a release still on its way reaches the new hook, and the
    // system shows its key or button down until a hook has passed it on, so
    // nothing is released twice; one that came before the install shows up
    // already. A post that fails (a full queue) loses that release only.
    const bool buttons_swapped = GetSystemMetrics(SM_SWAPBUTTON) != 0;
    TakeLostReleases(hooks.held_keys, hooks.held_buttons, buttons_swapped, KeyIsDownNow, [&hooks](int32_t code) {
        PostMessageW(hooks.target, WM_APP_LET_GO, static_cast<WPARAM>(code), 0);
    });
}
