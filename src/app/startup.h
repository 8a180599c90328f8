#pragma once

#include <windows.h>

// The whole life of the program, which owns its one AppState throughout:
// start-up, the main loop, the release of every handle. Returns the exit
// code: 0 after Quit, after the window was destroyed from outside, or when
// another instance runs; 1 when no MIDI port opens; 2 when the CFG folder
// cannot be used.
int RunQuillfret(HINSTANCE instance);
