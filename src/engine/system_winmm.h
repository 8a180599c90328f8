#pragma once

#include <windows.h>
#include <mmsystem.h>

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

// Loads winmm from the system folder (once; a second call keeps what is
// loaded). True when the module and all five entry points are there; on
// false nothing stays loaded.
bool LoadSystemWinmm(SystemWinmm& winmm);

// Unloads it once; a second call does nothing.
void FreeSystemWinmm(SystemWinmm& winmm);
