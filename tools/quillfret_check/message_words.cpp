#include "message_words.h"

#include <array>

std::string NoteName(int note) {
    static constexpr std::array<const char*, 12> kNames = {"C",  "C#", "D",  "D#", "E",  "F",
                                                           "F#", "G",  "G#", "A",  "A#", "B"};
    return kNames[static_cast<size_t>(note % 12)] + std::to_string(note / 12 - 1);
}

std::string Signed(int value) { return (value > 0 ? "+" : "") + std::to_string(value); }

int PitchBendOf(const ShortMessage& message) { return (message.data2 << 7 | message.data1) - kPitchBendCentre; }

// Appended piece by piece: a report says thousands of these.
std::string MessageText(uint32_t packed) {
    const ShortMessage m = UnpackShortMessage(packed);
    std::string text;
    text.reserve(40);
    switch (m.status) {
        case MidiStatus::NoteOn:
        case MidiStatus::NoteOff:
            text.append(m.status == MidiStatus::NoteOn ? "note-on " : "note-off ");
            text.append(std::to_string(m.data1)).append(" (").append(NoteName(m.data1)).append(")");
            if (m.status == MidiStatus::NoteOn) text.append(" velocity ").append(std::to_string(m.data2));
            return text;
        case MidiStatus::ProgramChange: return text.append("program change ").append(std::to_string(m.data1));
        case MidiStatus::PitchBend: {
            const int bend = PitchBendOf(m);
            return bend == 0 ? "pitch bend centre" : text.append("pitch bend ").append(Signed(bend));
        }
        default:
            return text.append("control change ")
                .append(std::to_string(m.data1))
                .append(" value ")
                .append(std::to_string(m.data2));
    }
}
