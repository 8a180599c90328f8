#include "config/member_table.h"

#include <algorithm>

#include "config/default_device.h"
#include "engine/midi_message.h"

namespace {

constexpr MemberRange kDataByte{0, kLastMidiDataByte};
constexpr std::string_view kModes[] = {"hold", "toggle"};

// An entry's members, in reading order.
constexpr MemberRow kEntryMembers[] = {
    {"key",
     MemberPlace::Entry,
     MemberKind::Key,
     &Mapping::key,
     {},
     "",
     "the entry does nothing",
     "",
     "",
     {},
     "the trigger: a key name from KeyMapping.cfg (\"A\", \"Space\", \"MouseLeft\", \"WheelAway\") or a key code "
     "(\"65\"), in quotes; the only member an entry needs"},
    {"modifier",
     MemberPlace::Entry,
     MemberKind::Key,
     &Mapping::modifier,
     {},
     "",
     "the mapping acts without a modifier",
     "",
     "",
     {},
     "a key that must be held for the mapping to act (\"Ctrl\"), written as \"key\" is"},
    {"velocity",
     MemberPlace::Entry,
     MemberKind::Number,
     &Mapping::velocity,
     kDataByte,
     "100",
     "no note-on is sent",
     "",
     "",
     {},
     "how hard the notes are played"},
    {"channel",
     MemberPlace::Entry,
     MemberKind::Number,
     &Mapping::channel,
     MemberRange{1, kLastMidiChannel},
     "1",
     "no message is sent",
     "",
     "",
     {},
     "the MIDI channel of every message of the mapping"},
    {"cc_enabled",
     MemberPlace::Entry,
     MemberKind::Boolean,
     &Mapping::cc_enabled,
     {},
     "false",
     "",
     "",
     "",
     {},
     "true: the controllers are sent too"},
    {"cc_value_on",
     MemberPlace::Entry,
     MemberKind::Number,
     &Mapping::cc_value_on,
     kDataByte,
     "127",
     "never sent",
     "",
     "cc_enabled",
     {},
     "the controller value sent when the mapping switches on"},
    {"cc_value_off",
     MemberPlace::Entry,
     MemberKind::Number,
     &Mapping::cc_value_off,
     kDataByte,
     "0",
     "never sent",
     "",
     "cc_enabled",
     {},
     "the controller value sent when it switches off"},
    {"notes",
     MemberPlace::Entry,
     MemberKind::Numbers,
     &Mapping::notes,
     kDataByte,
     "",
     "never sent, whatever the transpose",
     "",
     "",
     {},
     "the notes played together (60 is middle C)"},
    {"note",
     MemberPlace::Entry,
     MemberKind::Number,
     &Mapping::notes,
     kDataByte,
     "",
     "never sent, whatever the transpose",
     "notes",
     "",
     {},
     "one note (60 is middle C)"},
    {"cc_numbers",
     MemberPlace::Entry,
     MemberKind::Numbers,
     &Mapping::cc_numbers,
     kDataByte,
     "",
     "never sent",
     "",
     "cc_enabled",
     {},
     "the controllers sent (64 is the sustain pedal)"},
    {"cc_number",
     MemberPlace::Entry,
     MemberKind::Number,
     &Mapping::cc_numbers,
     kDataByte,
     "",
     "never sent",
     "cc_numbers",
     "cc_enabled",
     {},
     "one controller"},
    {"mode",
     MemberPlace::Entry,
     MemberKind::Choice,
     &Mapping::mode,
     {},
     "\"hold\"",
     "the mapping holds",
     "",
     "",
     kModes,
     "hold: on while the key is held; toggle: one press on, the next off"},
    {"program",
     MemberPlace::Entry,
     MemberKind::Number,
     &Mapping::program,
     kDataByte,
     "",
     "no program change is sent",
     "",
     "",
     {},
     "a program change (a new sound) sent when the mapping switches on"},
    {"bank",
     MemberPlace::Entry,
     MemberKind::Number,
     &Mapping::bank,
     MemberRange{0, kLastMidiBank},
     "",
     "no bank select is sent",
     "",
     "program",
     {},
     "a bank select sent just before the program change (controller 0 the high 7 bits, 32 the low 7)"},
    {"pitch_bend",
     MemberPlace::Entry,
     MemberKind::Number,
     &Mapping::pitch_bend,
     MemberRange{-kPitchBendCentre, kPitchBendCentre - 1},
     "",
     "no pitch bend is sent; the switch-off still sends the centre",
     "",
     "",
     {},
     "a pitch bend (0 is the centre) at switch-on; the switch-off sends the centre"},
    {"transpose",
     MemberPlace::Entry,
     MemberKind::Number,
     &Mapping::transpose,
     MemberRange{-kTransposeLimit, kTransposeLimit},
     "",
     "the transpose in force stays within that range",
     "",
     "",
     {},
     "a transpose key: moves the notes of every mapping switched on afterwards by this many semitones; 0 resets"},
};

// The file's own members, in reading order; "mappings" comes last.
constexpr MemberRow kFileMembers[] = {
    {"midi_device",
     MemberPlace::File,
     MemberKind::Text,
     &FileSettings::midi_device,
     {},
     kDefaultMidiDeviceJson,
     "",
     "",
     "",
     {},
     "a part of the MIDI output port's name, letter case counting; read when Quillfret starts"},
    {"release_on_change",
     MemberPlace::File,
     MemberKind::Boolean,
     &FileSettings::release_on_change,
     {},
     "false",
     "",
     "",
     "",
     {},
     "true: what is on is switched off when the file is saved again, another is chosen, and at Quit"},
    {"mappings",
     MemberPlace::File,
     MemberKind::Entries,
     {},
     {},
     "[]",
     "",
     "",
     "",
     {},
     "the mappings, one entry per trigger"},
};

}  // namespace

std::span<const MemberRow> MembersOf(MemberPlace place) {
    if (place == MemberPlace::File) return kFileMembers;
    return kEntryMembers;
}

const MemberRow* FindMember(MemberPlace place, std::string_view name) {
    const std::span<const MemberRow> rows = MembersOf(place);
    const auto found =
        std::find_if(rows.begin(), rows.end(), [name](const MemberRow& row) { return row.name == name; });
    return found == rows.end() ? nullptr : &*found;
}

std::size_t MemberIndex(const MemberRow& row) { return static_cast<std::size_t>(&row - MembersOf(row.place).data()); }

std::string_view ExpectedJson(MemberKind kind) {
    switch (kind) {
        case MemberKind::Boolean: return "a boolean";
        case MemberKind::Number:
        case MemberKind::Numbers: return "a number";
        case MemberKind::Entries: return "an array";
        case MemberKind::Text:
        case MemberKind::Texts:
        case MemberKind::Key:
        case MemberKind::Choice: return "a string";
    }
    return "";
}

bool InRange(const MemberRow& row, int32_t value) {
    return !row.range || (value >= row.range->low && value <= row.range->high);
}
