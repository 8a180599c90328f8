#pragma once

#include <windows.h>

#include <cstdint>

#include "app/app_state.h"

// The two low-level hooks of the desktop. They read the event record, decide
// the trigger events (engine/hook_decisions.h), post each one to the hidden
// window `state.window` and always pass the event on: they never swallow an
// event and do no MIDI or file work, so they cannot delay the input of other
// programs. Each notes when it saw its last event (`state.hook_sightings`),
// for the watch that installs them again when the system removed them
// (hook_witness.h).

// The clock of the sightings and of the raw input they are checked against:
// milliseconds, monotonic.
inline int64_t InputClockMs() { return static_cast<int64_t>(GetTickCount64()); }

// Installs the keyboard hook, then the mouse hook, for all threads of the
// desktop, into `state`, which the hook procedures work on from then on. A
// hook that fails to install is simply absent (its handle stays null). Made
// while no hook is installed: at start-up, or again after RemoveInputHooks.
// The install counts as each hook's latest sighting, so that input already
// on its way while no hook was there is not taken for a new loss.
void InstallInputHooks(AppState& state);

// Removes the keyboard hook, then the mouse hook, each only while installed;
// afterwards the hook procedures work on no state.
void RemoveInputHooks(AppState& state);

// Installs both hooks again, after the system removed one or both without
// notice or an install failed. Both are removed first, so that there are
// never two hooks of a kind (each event would be posted twice); then both
// are installed as at start-up. A held key that the system now shows up
// lost its key-up meanwhile: it is released as its key-up would have done,
// so that what its press started ends and its next press is not taken for
// an auto-repeat.
void ReinstallInputHooks(AppState& state);
