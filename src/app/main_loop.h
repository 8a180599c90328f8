#pragma once

#include <windows.h>

struct AppState;

// Waits once for messages, for the CFG folder (cfg_folder.h) or for
// `most_ms`, whichever comes first; hands the wake to the folder and
// dispatches every pending message. False once the quit message is taken.
bool ServeOnce(AppState& state, DWORD most_ms);

// Serves the program until the quit message: ServeOnce without a time
// limit but the folder's next deadline.
void RunMainLoop(AppState& state);
