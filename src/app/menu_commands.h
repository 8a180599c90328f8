#pragma once

#include <windows.h>

#include "app/app_state.h"

// Carries out one tray menu command (an ID_ value of window_messages.h);
// ids that name no command are ignored.
void RunMenuCommand(AppState& state, UINT id);
