// The direct floor: one low-level keyboard hook that sends the MIDI message
// inside the hook, the shortest path from a key to a message the platform
// allows (and one Quillfret must not take: a slow port would stall the
// desktop's input).
#include "floors/floor_common.h"

namespace {

HMIDIOUT port = nullptr;
HHOOK hook = nullptr;

LRESULT CALLBACK DirectHookProc(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HC_ACTION && (wparam == WM_KEYDOWN || wparam == WM_KEYUP)) {
        const auto& record = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lparam);
        if (const auto message = FloorMessage(record.vkCode, wparam == WM_KEYDOWN)) midiOutShortMsg(port, *message);
    }
    return CallNextHookEx(hook, code, wparam, lparam);
}

LRESULT CALLBACK DirectWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    return FloorDefaultProc(window, message, wparam, lparam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    port = OpenFloorPort();
    if (port == nullptr) return 1;
    CreateFloorWindow(instance, DirectWindowProc);
    hook = SetWindowsHookExW(WH_KEYBOARD_LL, DirectHookProc, nullptr, 0);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    UnhookWindowsHookEx(hook);
    midiOutClose(port);
    return 0;
}
