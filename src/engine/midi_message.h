#pragma once

#include <cstdint>
#include <optional>

// Channel voice messages packed as winmm wants them: status in bits 0-7, first
// data byte in bits 8-15, second data byte in bits 16-23.

enum class MidiStatus : uint32_t {
    NoteOff = 0x80,
    NoteOn = 0x90,
    ControlChange = 0xB0,
    ProgramChange = 0xC0,  // one data byte; the second is sent as 0 and not read
    PitchBend = 0xE0,
};

// The ranges a message can carry: a channel counted from 1 to 16, a data
// byte (note, velocity, controller, value, program) from 0 to 127.
constexpr int32_t kLastMidiChannel = 16;
constexpr int32_t kLastMidiDataByte = 127;
constexpr bool IsMidiChannel(int32_t channel) { return channel >= 1 && channel <= kLastMidiChannel; }
constexpr bool IsMidiDataByte(int32_t value) { return value >= 0 && value <= kLastMidiDataByte; }

// Two data bytes together: a bank number (0 to 16383) and a pitch bend
// written around its centre (-8192 to 8191, sent as value + 8192).
constexpr int32_t kLastMidiBank = 16383;
constexpr int32_t kPitchBendCentre = 8192;
constexpr bool IsMidiBank(int32_t bank) { return bank >= 0 && bank <= kLastMidiBank; }
constexpr bool IsMidiPitchBend(int32_t bend) { return bend >= -kPitchBendCentre && bend < kPitchBendCentre; }

// The controllers of a bank select: the bank's high 7 bits, then its low 7 bits.
constexpr int32_t kBankSelectHigh = 0;
constexpr int32_t kBankSelectLow = 32;

// A channel or a data byte out of range would spill into the neighbouring
// bytes and become a different message, so such a message is refused here,
// in the one place where messages are packed.
constexpr std::optional<uint32_t> PackShortMessage(MidiStatus status, int32_t channel, int32_t data1, int32_t data2) {
    if (!IsMidiChannel(channel) || !IsMidiDataByte(data1) || !IsMidiDataByte(data2)) return std::nullopt;
    return static_cast<uint32_t>(status) | static_cast<uint32_t>(channel - 1) | static_cast<uint32_t>(data1) << 8 |
           static_cast<uint32_t>(data2) << 16;
}

// A packed message taken apart again, as PackShortMessage put it together.
struct ShortMessage {
    MidiStatus status;  // the high four bits of the status byte
    int32_t channel;    // counted from 1
    int32_t data1;
    int32_t data2;
};

constexpr ShortMessage UnpackShortMessage(uint32_t packed) {
    return {static_cast<MidiStatus>(packed & 0xF0), static_cast<int32_t>(packed & 0x0F) + 1,
            static_cast<int32_t>(packed >> 8 & 0x7F), static_cast<int32_t>(packed >> 16 & 0x7F)};
}

// A pitch bend of `bend` around the centre: 14 bits, low 7 bits first.
constexpr std::optional<uint32_t> PackPitchBend(int32_t channel, int32_t bend) {
    if (!IsMidiPitchBend(bend)) return std::nullopt;
    const int32_t value = bend + kPitchBendCentre;
    return PackShortMessage(MidiStatus::PitchBend, channel, value & 127, value >> 7);
}
