#pragma once

#include <string>
#include <string_view>

// The name fragment of the MIDI output port that the program looks for while
// no mapping file names another. Every new mapping file names it, and the
// message shown when no port opens names it too. Plain ASCII.
inline constexpr std::string_view kDefaultMidiDevice = "Fenwickloop";

// The same name as a wide string: each ASCII character widens unchanged.
inline std::wstring DefaultMidiDeviceWide() { return {kDefaultMidiDevice.begin(), kDefaultMidiDevice.end()}; }
