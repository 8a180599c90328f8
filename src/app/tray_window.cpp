#include "app/tray_window.h"

#include <cwchar>

#include "app/app_state.h"
#include "app/hook_witness.h"
#include "app/key_state.h"
#include "app/menu_commands.h"
#include "app/port_sender.h"
#include "app/release_resources.h"
#include "app/tray_menu.h"
#include "app/window_messages.h"
#include "engine/mapping_engine.h"

namespace {

void HandleTriggerMessage(AppState& state, WPARAM wparam, LPARAM lparam) {
    const auto code = static_cast<int32_t>(wparam & 0xFFFFFFFFu);
    HandleTrigger(state.mappings, state.player, code, lparam != 0, KeyIsDownNow, PortSender(state));
}

NOTIFYICONDATAW TrayIconRecord(HWND window) {
    NOTIFYICONDATAW icon{};
    icon.cbSize = sizeof(icon);
    icon.hWnd = window;
    icon.uID = 1;
    icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    icon.uCallbackMessage = WM_APP_TRAY;
    icon.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    wcsncpy(icon.szTip, L"Quillfret", std::size(icon.szTip) - 1);
    return icon;
}

// Adds the icon: at start-up, and again whenever the taskbar restarts (it
// then has lost every icon), with the record of the first add, or a new one
// when there is none yet. Without a notification area the program still
// works through its hooks; only an icon that was added is kept, for the
// balloons and its removal.
void AddTrayIcon(AppState& state) {
    NOTIFYICONDATAW icon = state.tray_icon.cbSize != 0 ? state.tray_icon : TrayIconRecord(state.window);
    if (Shell_NotifyIconW(NIM_ADD, &icon)) state.tray_icon = icon;
}

void HandleWindowMessage(AppState& state, UINT message, WPARAM wparam, LPARAM lparam) {
    // A registered message has no constant to switch on.
    if (state.taskbar_created != 0 && message == state.taskbar_created) AddTrayIcon(state);
    switch (message) {
        case WM_DESTROY:
            // Only a destruction from outside gets here. Nothing can work
            // without the window, so the program releases everything and ends.
            ReleaseResources(state);
            PostQuitMessage(0);
            break;
        case WM_COMMAND: RunMenuCommand(state, LOWORD(wparam)); break;
        case WM_APP_TRAY:
            if (lparam == WM_RBUTTONUP) ShowTrayMenu(state);
            break;
        case WM_APP_KEYBOARD:
        case WM_APP_MOUSE: HandleTriggerMessage(state, wparam, lparam); break;
        case WM_INPUT: HandleRawInput(state, lparam); break;
    }
}

// The state comes with WM_NCCREATE, as the creation parameter, and stays
// with the window; the few messages before it (WM_GETMINMAXINFO) find none.
LRESULT CALLBACK TrayWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        // NOLINTNEXTLINE(performance-no-int-to-ptr): the system passes the record's address in lParam.
        const auto& creation = *reinterpret_cast<const CREATESTRUCTW*>(lparam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation.lpCreateParams));
    }
    // NOLINTNEXTLINE(performance-no-int-to-ptr): the window keeps the state's address.
    if (auto* state = reinterpret_cast<AppState*>(GetWindowLongPtrW(window, GWLP_USERDATA))) {
        HandleWindowMessage(*state, message, wparam, lparam);
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

void CreateTrayWindow(AppState& state, HINSTANCE instance) {
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = TrayWindowProc;
    window_class.hInstance = instance;
    window_class.lpszClassName = L"QuillfretWindow";
    RegisterClassW(&window_class);
    // Sent by a taskbar that (re)starts to every top-level window.
    state.taskbar_created = RegisterWindowMessageW(L"TaskbarCreated");
    state.window = CreateWindowExW(0, L"QuillfretWindow", L"", WS_OVERLAPPEDWINDOW, 0, 0, 0, 0, nullptr, nullptr,
                                   instance, &state);
    AddTrayIcon(state);
}
