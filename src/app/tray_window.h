#pragma once

#include <windows.h>

// The hidden window's procedure: tray icon callback, menu commands, the
// hooks' trigger messages and the window's destruction. Every message is
// finally passed to DefWindowProcW, whose result is returned.
LRESULT CALLBACK TrayWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// Registers the class "QuillfretWindow" and creates the hidden window (never
// shown) into `app.window`, then adds the tray icon with the tip "Quillfret".
void CreateTrayWindow(HINSTANCE instance);
