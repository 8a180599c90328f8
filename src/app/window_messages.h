#pragma once

#include <windows.h>

#include "input/trigger_messages.h"

// The ids of the hidden window's messages and tray menu commands: the one
// definition, read by the program and by the tests and benchmarks that post
// them from outside. The hooks' trigger messages come with the hooks.

// The tray icon's callback; lParam is the mouse message.
constexpr UINT WM_APP_TRAY = WM_APP + 1;

// Tray menu commands.
constexpr UINT ID_NEW_CONFIG = 1000;
constexpr UINT ID_EDIT_CURRENT = 1001;
constexpr UINT ID_OPEN_CFG_FOLDER = 1002;
constexpr UINT ID_QUIT = 1003;
constexpr UINT ID_CONFIG_BASE = 2000;  // + index into config_list
