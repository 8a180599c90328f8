#pragma once

#include <windows.h>

#include <cstdint>

#include "input/hook_rules.h"
#include "input/trigger_messages.h"

// The two low-level hooks of the desktop. They read the event record, decide
// the trigger events (hook_rules.h), post each one to the window `target`
// (WM_APP_KEYBOARD, WM_APP_MOUSE) and always pass the event on: they never
// swallow an event and do no MIDI or file work, so they cannot delay the
// input of other programs. Each notes when it saw its last event, for the
// watch that installs them again when the system removed them
// (hook_witness.h). Used by the program and by quillfret-check --keys.
struct InputHooks {
    HWND target = nullptr;  // the window the trigger messages are posted to
    HHOOK keyboard_hook = nullptr;
    HHOOK mouse_hook = nullptr;
    HeldKeySet held_keys;     // the keyboard hook's own record, and the re-install's
    HeldKeySet held_buttons;  // the mouse hook's own record, and the re-install's
    HookSightings sightings;  // written by the hook procedures, one store per event
    RetryPacing installs;     // when the hooks were last installed, or tried
    bool witness_on = false;  // raw input of both devices comes to `target` (hook_witness.h)
};

// Whether the system shows key `vk` down at this moment: the engine's
// modifier test, and the check for keys and mouse buttons (their physical
// virtual-key codes) released while the hooks were gone.
inline bool KeyIsDownNow(int32_t vk) { return (GetAsyncKeyState(vk) & 0x8000) != 0; }

// The clock of the sightings and of the raw input they are checked against:
// milliseconds, monotonic.
inline int64_t InputClockMs() { return static_cast<int64_t>(GetTickCount64()); }

// Installs the keyboard hook, then the mouse hook, for all threads of the
// desktop; the hook procedures work on `hooks` from then on (the system
// calls them without a context, so one record at a time is hooked). A hook
// that fails to install is simply absent (its handle stays null), and tried
// again by the watch at most once a second. Made while no hook is
// installed: at start-up, or again after RemoveInputHooks. The install
// counts as each hook's latest sighting, so that input already on its way
// while no hook was there is not taken for a new loss.
void InstallInputHooks(InputHooks& hooks);

// Removes the keyboard hook, then the mouse hook, each only while installed;
// afterwards the hook procedures work on no record.
void RemoveInputHooks(InputHooks& hooks);

// Installs both hooks again, after the system removed one or both without
// notice or an install failed. Both are removed first, so that there are
// never two hooks of a kind (each event would be posted twice); then both
// are installed as at start-up. A held key or mouse button that the system
// now shows up lost its release meanwhile: WM_APP_LET_GO is posted for it,
// so that what its press started ends (whatever its modifier does by then)
// and its next press is not taken for an auto-repeat.
void ReinstallInputHooks(InputHooks& hooks);
