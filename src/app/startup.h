#pragma once

#include <windows.h>

#include <string>

#include "app/app_state.h"

// The folder of the program file, without a trailing separator.
std::wstring GetExeDir();

// The whole life of the program: start-up, the main loop, the release of
// every handle. Returns the exit code: 0 after Quit, after the window was
// destroyed from outside, or when another instance runs; 1 when no MIDI port
// opens; 2 when the CFG folder cannot be used. `state` must be `app`, the
// state the hook and window procedures read.
int RunQuillfret(AppState& state, HINSTANCE instance);
