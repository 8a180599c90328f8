#pragma once

#include <windows.h>

#include "app/app_state.h"

// The hidden window's procedure: tray icon callback, menu commands, the
// hooks' trigger messages, the taskbar's restart (the icon is added again)
// and the window's destruction. Every message is
// finally passed to DefWindowProcW, whose result is returned.
LRESULT CALLBACK TrayWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// Registers the class "QuillfretWindow" and creates the hidden window (never
// shown) into `state.window`, then adds the tray icon with the tip "Quillfret".
// `state` must be `app`, the state the window procedure reads.
void CreateTrayWindow(AppState& state, HINSTANCE instance);
