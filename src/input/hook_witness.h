#pragma once

#include <windows.h>

#include "input/input_hooks.h"

// The hooks' watch. The system removes a low-level hook without notice when
// its procedure misses the time-out, and nothing can ask whether a hook is
// still there; so the hidden window also hears the keyboard and the mouse
// through raw input, a witness the hooks do not control, and raw input of a
// device whose hook has seen nothing for a while (hook_rules.h) has
// both hooks installed again (ReinstallInputHooks).
//
// Raw input rather than the system's last input time (GetLastInputInfo):
// raw input comes as a message, so the program wakes only when input comes,
// never to poll, while the last input time has to be asked for, once a
// second for as long as the program runs; and each raw event names its
// device, so a mouse hook that is gone is noticed at the first move of the
// mouse, where one time for both devices stays current while the keyboard
// hook sees the user type, and hides it.

// Asks for raw input of the keyboard and of the mouse at `hooks.target`,
// also while another program has the focus (RIDEV_INPUTSINK). Never with
// RIDEV_NOLEGACY: every program, this one included, keeps its ordinary
// keyboard and mouse messages. Made after the hooks are installed.
void StartHookWitness(InputHooks& hooks);

// Stops the raw input, once; a second call does nothing.
void StopHookWitness(InputHooks& hooks);

// A raw input event (WM_INPUT, `raw_input` its lParam): installs the hooks
// again when the event shows them gone. Does nothing while the witness is
// not started, so nothing installs a hook after ReleaseResources.
void HandleRawInput(InputHooks& hooks, LPARAM raw_input);
