#pragma once

#include <string>
#include <string_view>

// The name fragment of the MIDI output port that the program looks for while
// no mapping file names another. Every new mapping file names it, the member
// table gives it as the default of "midi_device" (as JSON text), and the
// message shown when no port opens names it too. Plain ASCII.
inline constexpr std::string_view kDefaultMidiDeviceJson = "\"Fenwickloop\"";
inline constexpr std::string_view kDefaultMidiDevice =
    kDefaultMidiDeviceJson.substr(1, kDefaultMidiDeviceJson.size() - 2);

// The same name as a wide string: each ASCII character widens unchanged.
inline std::wstring DefaultMidiDeviceWide() { return {kDefaultMidiDevice.begin(), kDefaultMidiDevice.end()}; }
