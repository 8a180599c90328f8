#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <string_view>

#include "engine/system_winmm.h"

// The program's one MIDI output port, opened once by name at start-up, and
// the winmm it is reached through.
struct MidiOut {
    HMIDIOUT handle = nullptr;
    SystemWinmm winmm;
};

// Opens the first output port, in device order, whose name contains
// `midi_device` (exact, case-sensitive) and that opens. True when a port is open;
// false also when winmm cannot be loaded from the system folder.
bool OpenMidiOut(MidiOut& out, std::wstring_view midi_device);

// Sends one packed short message; does nothing while no port is open. A send
// the MIDI system rejects (an unplugged device, say) is dropped: the next
// message is tried as usual.
void SendShortMessage(const MidiOut& out, uint32_t message);

// Closes the port and unloads winmm, once; a second call does nothing.
void CloseMidiOut(MidiOut& out);
