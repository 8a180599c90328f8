#pragma once

#include <windows.h>

#include "app/app_state.h"

// The two low-level hooks of the desktop. They read the event record, decide
// the trigger events (engine/hook_decisions.h), post each one to the hidden
// window `app.window` and always pass the event on: they never swallow an
// event and do no MIDI or file work, so they cannot delay the input of other
// programs.
LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wparam, LPARAM lparam);
LRESULT CALLBACK MouseHookProc(int code, WPARAM wparam, LPARAM lparam);

// Installs the keyboard hook, then the mouse hook, for all threads of the
// desktop, into `state` (which must be `app`, the state the procedures read).
// A hook that fails to install is simply absent (its handle stays null).
void InstallInputHooks(AppState& state);
