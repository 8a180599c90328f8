#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/reopen_pacing.h"
#include "engine/system_winmm.h"

// The program's one MIDI output port, opened by name at start-up, and the
// winmm it is reached through.
struct MidiOut {
    HMIDIOUT handle = nullptr;
    SystemWinmm winmm;
    std::wstring port_name;  // the full name of the port opened at start-up
    bool lost = false;       // its device went away: the handle is closed, and a send opens it again
    ReopenPacing reopen;
};

// Opens the first output port, in device order, whose name contains
// `midi_device` (exact, case-sensitive) and that opens. True when a port is open;
// false also when winmm cannot be loaded from the system folder.
bool OpenMidiOut(MidiOut& out, std::wstring_view midi_device);

// Sends one packed short message; does nothing while no port is open. A send
// the MIDI system rejects is dropped, never repeated: a late note is worse
// than none. When the device is gone (unplugged), the handle is closed and
// later sends open a port of the same name again, trying at most once a
// second; their messages are dropped until it opens.
void SendShortMessage(MidiOut& out, uint32_t message);

// Closes the port and unloads winmm, once; a second call does nothing.
void CloseMidiOut(MidiOut& out);
