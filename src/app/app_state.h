#pragma once

#include <windows.h>
#include <shellapi.h>

#include "config/core_state.h"
#include "config/load_retry.h"
#include "engine/hook_decisions.h"
#include "engine/midi_out.h"

// The program's one state record: the portable tables and paths of CoreState,
// the keyboard hook's held keys, and every handle the program acquires from
// the system. Each handle starts null, is acquired once at start-up and
// released once by ReleaseResources.
struct AppState : CoreState {
    HeldKeySet held_keys;  // the keyboard hook's own record; nothing else reads it
    MidiOut midi_out;
    HWND window = nullptr;
    HHOOK keyboard_hook = nullptr;
    HHOOK mouse_hook = nullptr;
    HANDLE folder_watch = nullptr;  // null also when the watch could not be started
    HANDLE instance_mutex = nullptr;
    NOTIFYICONDATAW tray_icon{};  // cbSize is 0 until an icon was added
    UINT taskbar_created = 0;     // the taskbar's restart message; 0: not registered
    LoadRetry load_retry;         // when the current file is to be read again
};

// The one instance. How the code reaches it: every function that works on the
// state takes it as `AppState&`. Only the entry point, which hands `app` to
// RunQuillfret, and the three procedures the system calls without a context
// argument (KeyboardHookProc, MouseHookProc and TrayWindowProc) name `app`
// itself; so whatever installs those procedures must be given `app`.
extern AppState app;
