#pragma once

#include "app/app_state.h"

// Starts the change notification on `cfg_dir` (its own files only: writes,
// and names created, renamed or deleted, so an editor that saves by rename is
// seen too). Without a watch the program runs on without hot reload.
void StartFolderWatch(AppState& state);

// Waits for messages and folder changes until the quit message, dispatching
// every pending message before each wait. A folder change reloads the current
// config 100 ms later; messages (and so the input hooks) keep being served
// during that pause.
void RunMainLoop(AppState& state);
