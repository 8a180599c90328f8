#pragma once

struct AppState;

// Waits for messages and for the CFG folder (cfg_folder.h) until the quit
// message, handing each wake to the folder and dispatching every pending
// message before the next wait. The wait has no time limit but the folder's
// next deadline.
void RunMainLoop(AppState& state);
