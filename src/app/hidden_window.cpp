#include "app/hidden_window.h"

#include "app/app_state.h"
#include "app/release_resources.h"
#include "app/tray_menu.h"
#include "app/window_messages.h"
#include "input/foreground.h"
#include "input/hook_witness.h"

namespace {

// The trigger code a message carries in its wParam.
int32_t TriggerCode(WPARAM wparam) { return static_cast<int32_t>(wparam & 0xFFFFFFFFu); }

// One trigger transition of the hooks, played by the engine on the port;
// the program in front is asked only for a press of a file with "only_in".
void PlayTrigger(AppState& state, WPARAM wparam, LPARAM lparam) {
    Engine& engine = state.engine;
    const PauseChange pause =
        HandleTrigger(engine, TriggerCode(wparam), lparam != 0, KeyIsDownNow, PortSender(state.midi_out),
                      [&] { return PlaysInFront(state.front, engine.only_in); });
    TellPause(state.tray_icon, pause, engine.pause_key.text);
}

void HandleWindowMessage(AppState& state, UINT message, WPARAM wparam, LPARAM lparam) {
    // A registered message has no constant to switch on.
    if (state.tray_icon.taskbar_created != 0 && message == state.tray_icon.taskbar_created) {
        AddTrayIcon(state.tray_icon, state.window);
        TellUntoldNews(state.tray_icon);
    }
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
        case WM_APP_MOUSE: PlayTrigger(state, wparam, lparam); break;
        case WM_APP_LET_GO: LetGo(state.engine, TriggerCode(wparam), PortSender(state.midi_out)); break;
        case WM_INPUT: HandleRawInput(state.hooks, lparam); break;
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

DWORD CreateHiddenWindow(AppState& state, HINSTANCE instance) {
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = TrayWindowProc;
    window_class.hInstance = instance;
    window_class.lpszClassName = L"QuillfretWindow";
    // A class left registered (a test's earlier window) is as good as a new one.
    if (RegisterClassW(&window_class) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return GetLastError();
    // Sent by a taskbar that (re)starts to every top-level window.
    state.tray_icon.taskbar_created = RegisterWindowMessageW(L"TaskbarCreated");
    state.window = CreateWindowExW(0, L"QuillfretWindow", L"", WS_OVERLAPPEDWINDOW, 0, 0, 0, 0, nullptr, nullptr,
                                   instance, &state);
    if (state.window == nullptr) return GetLastError();
    state.hooks.target = state.window;
    AddTrayIcon(state.tray_icon, state.window);
    return ERROR_SUCCESS;
}
