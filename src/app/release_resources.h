#pragma once

struct AppState;

// Gives back, in this order, the tray icon, the raw input that watches the
// hooks, the keyboard hook, the mouse hook (whichever handles are current),
// the MIDI port, the folder watch and the single-instance mutex, and lets
// the window go of the state. Each is released only while held and cleared
// at once, so a second run does nothing. Before the port closes, a file in
// force with "release_on_change" has everything still on switched off.
void ReleaseResources(AppState& state);
