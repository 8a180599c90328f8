#pragma once

#include <cstdint>
#include <optional>

// Channel voice messages packed as winmm wants them: status in bits 0-7, first
// data byte in bits 8-15, second data byte in bits 16-23.

enum class MidiStatus : uint32_t {
    NoteOff = 0x80,
    NoteOn = 0x90,
    ControlChange = 0xB0,
};

// A channel outside 1..16 or a data byte outside 0..127 would spill into the
// neighbouring bytes and become a different message, so such a message is
// refused here, in the one place where messages are packed.
constexpr std::optional<uint32_t> PackShortMessage(MidiStatus status, int32_t channel, int32_t data1, int32_t data2) {
    if (channel < 1 || channel > 16) return std::nullopt;
    if (data1 < 0 || data1 > 127 || data2 < 0 || data2 > 127) return std::nullopt;
    return static_cast<uint32_t>(status) | static_cast<uint32_t>(channel - 1) | static_cast<uint32_t>(data1) << 8 |
           static_cast<uint32_t>(data2) << 16;
}
