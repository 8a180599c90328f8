#pragma once

#include <windows.h>

#include "app/app_state.h"

// Builds the tray menu from a fresh scan of the CFG folder, shows it at the
// cursor and destroys it when it closes. The chosen item arrives afterwards
// at `state.window` as WM_COMMAND.
void ShowTrayMenu(AppState& state);
