#pragma once

#include <windows.h>

#include "app/app_state.h"

// Registers the class "QuillfretWindow" and creates the hidden window (never
// shown) into `state.window`, then adds the tray icon with the tip
// "Quillfret". The window's procedure works on `state`, which it is given at
// creation: tray icon callback, menu commands, the hooks' trigger messages,
// raw input (the hooks' witness), the taskbar's restart (the icon is added
// again) and the window's destruction. Every message is finally passed to
// DefWindowProcW, whose result is returned.
void CreateTrayWindow(AppState& state, HINSTANCE instance);
