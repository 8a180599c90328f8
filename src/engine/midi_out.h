#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/retry_pacing.h"

// The winmm entry points the MIDI output uses, taken from the copy in the
// system folder only. winmm is not one of the DLLs Windows always loads from
// the system folder, so a plain import would be resolved from the program's
// own folder first: a winmm.dll dropped beside the exe would run inside the
// program. Loading it by hand, from the system folder, closes that door.
struct SystemWinmm {
    HMODULE module = nullptr;
    decltype(&midiOutGetNumDevs) get_num_devs = nullptr;
    decltype(&midiOutGetDevCapsW) get_dev_caps = nullptr;
    decltype(&midiOutOpen) open = nullptr;
    decltype(&midiOutShortMsg) short_msg = nullptr;
    decltype(&midiOutClose) close = nullptr;
};

// The program's one MIDI output port, opened by name at start-up, and the
// winmm it is reached through.
struct MidiOut {
    HMIDIOUT handle = nullptr;
    SystemWinmm winmm;
    std::wstring port_name;  // the full name of the port opened at start-up
    bool lost = false;       // its device went away: the handle is closed, and a send opens it again
    RetryPacing reopen;
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

// The engine's `send`: one packed message on the program's port.
inline auto PortSender(MidiOut& out) {
    return [&out](uint32_t message) { SendShortMessage(out, message); };
}
