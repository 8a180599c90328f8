#pragma once

#include <cstdint>

struct AppState;

// Started with "--wait-for-port SECONDS", the program waits up to SECONDS
// for its MIDI port when none could be opened at start-up: a loopback
// driver or an interface may come up a little after the logon that starts
// the program. Only when the option is given; without it, start-up ends
// with the box at once.

// How a wait for the port ended.
enum class PortWaitEnd { Opened, Quit, TimedOut };

// Looks for the port again once a second (the device list, the names, the
// open: OpenMidiOut) until it opens or `seconds` have passed since the
// call, with the tip "Quillfret (waiting for <the name fragment>)".
// Meanwhile the window answers as ever (the tray menu, Quit, the CFG
// folder's changes, which may name another port), and no hook is there:
// nothing holds the desktop's input, and keys do nothing.
PortWaitEnd WaitForPort(AppState& state, int64_t seconds);
