#pragma once

#include <windows.h>
#include <shellapi.h>

#include "config/core_state.h"
#include "config/load_retry.h"
#include "engine/midi_out.h"

// The program's one state record: the portable tables and paths of CoreState
// plus every handle the program acquires from the system. Each handle starts
// null, is acquired once at start-up and released once by ReleaseResources.
struct AppState : CoreState {
    MidiOut midi_out;
    HWND window = nullptr;
    HHOOK keyboard_hook = nullptr;
    HHOOK mouse_hook = nullptr;
    HANDLE folder_watch = nullptr;  // null also when the watch could not be started
    HANDLE instance_mutex = nullptr;
    NOTIFYICONDATAW tray_icon{};  // cbSize is 0 while no icon is shown
    LoadRetry load_retry;         // when the current file is to be read again
};

// The one instance: the low-level hook procedures and the window procedure
// are called by the system without a context argument.
extern AppState app;
