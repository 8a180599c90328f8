#pragma once

#include "app/app_state.h"

// The two low-level hooks of the desktop. They read the event record, decide
// the trigger events (engine/hook_decisions.h), post each one to the hidden
// window `state.window` and always pass the event on: they never swallow an
// event and do no MIDI or file work, so they cannot delay the input of other
// programs.

// Installs the keyboard hook, then the mouse hook, for all threads of the
// desktop, into `state`, which the hook procedures work on from then on. A
// hook that fails to install is simply absent (its handle stays null). Made
// while no hook is installed: at start-up, or again after RemoveInputHooks.
void InstallInputHooks(AppState& state);

// Removes the keyboard hook, then the mouse hook, each only while installed;
// afterwards the hook procedures work on no state.
void RemoveInputHooks(AppState& state);
