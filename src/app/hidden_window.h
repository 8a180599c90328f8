#pragma once

#include <windows.h>

struct AppState;

// Registers the class "QuillfretWindow" and creates the hidden window (never
// shown) into `state.window`, then adds the tray icon. The window's
// procedure, TrayWindowProc, works on `state`, which it is given at
// creation, and dispatches each message to the part it is for: the hooks'
// trigger messages to the engine, the tray icon's callback and menu commands
// to the tray menu, raw input to the hooks' watch, the taskbar's restart to
// the tray icon, the window's destruction to ReleaseResources. Every message
// is finally passed to DefWindowProcW, whose result is returned. The
// system's error code when the window cannot be made (no icon is added then).
DWORD CreateHiddenWindow(AppState& state, HINSTANCE instance);
