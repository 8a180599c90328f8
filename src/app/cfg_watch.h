#pragma once

#include "app/app_state.h"

// The watch on the CFG folder and the loads of the current config that follow
// from it.

// Starts the change notification on `cfg_dir` (its own files only: writes,
// and names created, renamed or deleted, so an editor that saves by rename is
// seen too). Without a watch the program runs on without hot reload.
void StartFolderWatch(AppState& state);

// Closes the watch, once; a second call does nothing.
void StopFolderWatch(AppState& state);

// Keeps the watch on the folder named `cfg_dir`: closes it when CFG is gone
// (deleted or moved away), and starts a new one, followed by a load, when
// the folder is there again and nothing watches it.
void FollowCfgFolder(AppState& state);

// LoadConfig; when the file asks to be read again (held by another program,
// or saved while it was read), schedules that in `load_retry`.
void ReloadConfig(AppState& state);
