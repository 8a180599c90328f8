// The posted floor: the design Quillfret follows and nothing more. The
// keyboard hook posts the key to a hidden window; the window procedure does
// one hash lookup and one midiOutShortMsg; a mouse hook, as Quillfret has,
// posts the buttons (which map to nothing here) and passes moves on; the
// loop waits on a folder watch and on input with MsgWaitForMultipleObjects
// and empties the queue with PeekMessageW. A folder change only re-arms the
// watch.
#include <string>

#include "floors/floor_common.h"

namespace {

HMIDIOUT port = nullptr;
HHOOK hook = nullptr;
HHOOK mouse_hook = nullptr;
HWND window = nullptr;

LRESULT CALLBACK PostedHookProc(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HC_ACTION && (wparam == WM_KEYDOWN || wparam == WM_KEYUP)) {
        const auto& record = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lparam);
        PostMessageW(window, WM_APP_KEYBOARD, record.vkCode, wparam == WM_KEYDOWN ? 1 : 0);
    }
    return CallNextHookEx(hook, code, wparam, lparam);
}

LRESULT CALLBACK PostedMouseProc(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HC_ACTION && wparam != WM_MOUSEMOVE) PostMessageW(window, WM_APP_MOUSE, wparam, 0);
    return CallNextHookEx(mouse_hook, code, wparam, lparam);
}

LRESULT CALLBACK PostedWindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_APP_KEYBOARD) {
        if (const auto packed = FloorMessage(static_cast<uint32_t>(wparam), lparam != 0))
            midiOutShortMsg(port, *packed);
        return 0;
    }
    return FloorDefaultProc(hwnd, message, wparam, lparam);
}

// The CFG folder beside the program, as Quillfret watches it.
HANDLE WatchCfgFolder() {
    wchar_t exe[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring folder(exe, length);
    folder = folder.substr(0, folder.find_last_of(L"\\/")) + L"\\CFG";
    HANDLE watch = FindFirstChangeNotificationW(folder.c_str(), FALSE, FILE_NOTIFY_CHANGE_LAST_WRITE);
    return watch == INVALID_HANDLE_VALUE ? nullptr : watch;
}

void RunLoop(HANDLE watch) {
    for (;;) {
        const DWORD woke = MsgWaitForMultipleObjects(watch ? 1 : 0, &watch, FALSE, INFINITE, QS_ALLINPUT);
        if (watch && woke == WAIT_OBJECT_0) FindNextChangeNotification(watch);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) return;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    port = OpenFloorPort();
    if (port == nullptr) return 1;
    window = CreateFloorWindow(instance, PostedWindowProc);
    hook = SetWindowsHookExW(WH_KEYBOARD_LL, PostedHookProc, nullptr, 0);
    mouse_hook = SetWindowsHookExW(WH_MOUSE_LL, PostedMouseProc, nullptr, 0);
    HANDLE watch = WatchCfgFolder();
    RunLoop(watch);
    if (watch) FindCloseChangeNotification(watch);
    UnhookWindowsHookEx(mouse_hook);
    UnhookWindowsHookEx(hook);
    midiOutClose(port);
    return 0;
}
