#pragma once

#include <windows.h>

#include "app/app_state.h"

// Starts Notepad on `current_config` on a thread of its own (see
// shell_launch.h), without waiting for it; a launch that fails says so in a
// balloon. A saved edit reaches the program through the folder watch.
void EditCurrentConfig(const AppState& state);

// Carries out one tray menu command (an ID_ value of window_messages.h);
// ids that name no command are ignored.
void RunMenuCommand(AppState& state, UINT id);
