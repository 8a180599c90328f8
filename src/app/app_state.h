#pragma once

#include <windows.h>
#include <shellapi.h>

#include "app/cfg_folder.h"
#include "config/core_state.h"
#include "engine/hook_decisions.h"
#include "engine/hook_watch.h"
#include "engine/midi_out.h"

// The program's one state record: the portable tables and paths of CoreState,
// the keyboard hook's held keys, what the hooks last saw, the CFG folder's
// watch and deadlines, and every handle the program acquires from the
// system. RunQuillfret owns the one instance; the hook procedures reach it
// from InstallInputHooks on, the window procedure through its window
// (CreateTrayWindow). Each handle starts null, is acquired once at start-up
// (the hooks again when the system removed them) and released once by
// ReleaseResources.
struct AppState : CoreState {
    HeldKeySet held_keys;  // the keyboard hook's own record; nothing else reads it
    MidiOut midi_out;
    HWND window = nullptr;
    HHOOK keyboard_hook = nullptr;
    HHOOK mouse_hook = nullptr;
    HookSightings hook_sightings;  // written by the hook procedures, one store per event
    bool hook_witness_on = false;  // raw input of both devices comes to `window` (hook_witness.h)
    CfgFolder cfg_folder;
    HANDLE instance_mutex = nullptr;
    NOTIFYICONDATAW tray_icon{};  // cbSize is 0 until an icon was added
    UINT taskbar_created = 0;     // the taskbar's restart message; 0: not registered
};
