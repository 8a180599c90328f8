#pragma once

#include "app/app_state.h"

// Waits for messages and folder changes until the quit message, dispatching
// every pending message before each wait. A folder change reloads the current
// config 100 ms later; messages (and so the input hooks) keep being served
// during that pause. The wait also ends for a scheduled retry of a load and,
// while nothing watches CFG, once a second to look for the folder; otherwise
// it has no time limit.
void RunMainLoop(AppState& state);
