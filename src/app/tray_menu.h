#pragma once

#include <windows.h>

#include "config/catalogue.h"

struct AppState;

// The tray menu and its commands.

// The "Configs" submenu: one item per file, labelled with its stem as it is
// (an "&" in a name is shown, not taken as a shortcut mark), with the id
// ID_CONFIG_BASE + its index. The caller destroys it (or the menu it is
// attached to).
HMENU BuildConfigsMenu(const ConfigList& configs);

// Builds the tray menu from a fresh scan of the CFG folder
// (RescanCfgFolder), shows it at the cursor and destroys it when it closes.
// The chosen item arrives afterwards at `state.window` as WM_COMMAND.
void ShowTrayMenu(AppState& state);

// Carries out one tray menu command (an ID_ value of window_messages.h);
// ids that name no command are ignored.
void RunMenuCommand(AppState& state, UINT id);
