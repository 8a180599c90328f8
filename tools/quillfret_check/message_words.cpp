#include "message_words.h"

#include <array>

std::string NoteName(int note) {
    static constexpr std::array<const char*, 12> kNames = {"C",  "C#", "D",  "D#", "E",  "F",
                                                           "F#", "G",  "G#", "A",  "A#", "B"};
    return kNames[static_cast<size_t>(note % 12)] + std::to_string(note / 12 - 1);
}

std::string Signed(int value) { return (value > 0 ? "+" : "") + std::to_string(value); }

int PitchBendOf(const ShortMessage& message) { return (message.data2 << 7 | message.data1) - kPitchBendCentre; }

std::string MessageText(uint32_t packed) {
    const ShortMessage m = UnpackShortMessage(packed);
    const std::string note = std::to_string(m.data1) + " (" + NoteName(m.data1) + ")";
    switch (m.status) {
        case MidiStatus::NoteOn: return "note-on " + note + " velocity " + std::to_string(m.data2);
        case MidiStatus::NoteOff: return "note-off " + note;
        case MidiStatus::ProgramChange: return "program change " + std::to_string(m.data1);
        case MidiStatus::PitchBend: {
            const int bend = PitchBendOf(m);
            return bend == 0 ? "pitch bend centre" : "pitch bend " + Signed(bend);
        }
        default: return "control change " + std::to_string(m.data1) + " value " + std::to_string(m.data2);
    }
}
