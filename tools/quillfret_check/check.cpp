#include "check.h"

#include <map>
#include <string>
#include <utility>

#include "config/key_names.h"
#include "config/load_words.h"
#include "config/regular_file.h"
#include "engine/mapping_engine.h"
#include "engine/midi_message.h"
#include "engine/trigger_code.h"

namespace {

// The name a text resolved through, or else a name for its code.
std::string NameOf(const KeyNameTable& names, const std::map<int32_t, std::string>& by_code, const std::string& text,
                   int32_t code) {
    const auto named = names.find(text);
    if (named != names.end() && named->second == code && ResolveKeyName(names, text) == code) return text;
    const auto found = by_code.find(code);
    return found == by_code.end() ? "" : found->second;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// Why an entry stores nothing, in the loader's own words.
std::string SkipReason(const EntryReport& entry, const KeyNameTable& names) {
    switch (entry.outcome) {
        case EntryOutcome::Stored: return "";
        case EntryOutcome::FailedFile: return "makes the whole file fail";
        case EntryOutcome::NoCode:
            return IdleWords({entry.label, entry.outcome, entry.key_text}, names) + ": nothing is stored";
        default: return IdleWords({entry.label, entry.outcome, entry.key_text}, names);
    }
}

// "<what> <value> is outside <low> to <high>", with the ranges of the
// engine's own constants.
std::string Outside(const char* what, int32_t value, int32_t low, int32_t high) {
    return std::string(what) + " " + std::to_string(value) + " is outside " + std::to_string(low) + " to " +
           std::to_string(high);
}

// Program, bank, pitch bend and transpose out of range: the first three are
// not sent (the bank only ever with a program), the transpose is clamped.
void WarnOptionalMembers(const Mapping& m, std::vector<std::string>& warnings) {
    if (m.program && !IsMidiDataByte(*m.program)) {
        warnings.push_back(Outside("program", *m.program, 0, kLastMidiDataByte) + ": no program change is sent");
    }
    if (m.bank && !m.program) {
        warnings.push_back("\"bank\" counts only together with \"program\": no bank select is sent");
    } else if (m.bank && !IsMidiBank(*m.bank)) {
        warnings.push_back(Outside("bank", *m.bank, 0, kLastMidiBank) + ": no bank select is sent");
    }
    if (m.pitch_bend && !IsMidiPitchBend(*m.pitch_bend)) {
        warnings.push_back(Outside("pitch_bend", *m.pitch_bend, -kPitchBendCentre, kPitchBendCentre - 1) +
                           ": never sent; the switch-off still sends the centre");
    }
    if (m.transpose && (*m.transpose < -kTransposeLimit || *m.transpose > kTransposeLimit)) {
        warnings.push_back(Outside("transpose", *m.transpose, -kTransposeLimit, kTransposeLimit) +
                           ": the transpose in force is clamped to " + std::to_string(-kTransposeLimit) + ".." +
                           std::to_string(kTransposeLimit));
    }
}

// The ranges are the engine's own (engine/midi_message.h): a value out of
// range keeps exactly the messages that carry it from being sent.
void WarnOutOfRange(const Mapping& m, std::vector<std::string>& warnings) {
    const bool sends_controllers = m.cc_enabled && !m.cc_numbers.empty();
    if ((!m.notes.empty() || sends_controllers || m.program || m.pitch_bend) && !IsMidiChannel(m.channel)) {
        warnings.push_back(Outside("channel", m.channel, 1, kLastMidiChannel) + ": no message is sent");
    }
    if (!m.notes.empty() && !IsMidiDataByte(m.velocity)) {
        warnings.push_back(Outside("velocity", m.velocity, 0, kLastMidiDataByte) + ": no note-on is sent");
    }
    for (int32_t note : m.notes) {
        if (!IsMidiDataByte(note)) warnings.push_back(Outside("note", note, 0, kLastMidiDataByte) + ": never sent");
    }
    if (!sends_controllers) return;
    for (int32_t number : m.cc_numbers) {
        if (!IsMidiDataByte(number)) {
            warnings.push_back(Outside("controller", number, 0, kLastMidiDataByte) + ": never sent");
        }
    }
    if (!IsMidiDataByte(m.cc_value_on)) {
        warnings.push_back(Outside("cc_value_on", m.cc_value_on, 0, kLastMidiDataByte) + ": never sent");
    }
    if (!IsMidiDataByte(m.cc_value_off)) {
        warnings.push_back(Outside("cc_value_off", m.cc_value_off, 0, kLastMidiDataByte) + ": never sent");
    }
}

std::string Lowered(std::string text) {
    for (char& c : text) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    return text;
}

void WarnLoadedEntry(const EntryReport& entry, std::vector<std::string>& warnings) {
    const Mapping& m = entry.mapping;
    if (entry.modifier_text && m.modifier == 0) {
        warnings.push_back("modifier " + Quoted(*entry.modifier_text) +
                           " gives no key (code 0): the mapping acts without a modifier");
    }
    if (entry.mode_text && *entry.mode_text != "toggle" && *entry.mode_text != "hold") {
        warnings.push_back("mode " + Quoted(*entry.mode_text) +
                           (Lowered(*entry.mode_text) == "toggle" ? " is not exactly \"toggle\" (case matters)"
                                                                  : " is neither \"hold\" nor \"toggle\"") +
                           ": the mapping holds");
    }
    if (entry.note_ignored) warnings.push_back("\"note\" is ignored because \"notes\" is present");
    if (entry.cc_number_ignored) warnings.push_back("\"cc_number\" is ignored because \"cc_numbers\" is present");
    if (!m.cc_numbers.empty() && !m.cc_enabled) {
        warnings.push_back("controllers are listed but \"cc_enabled\" is not true: no controller message is sent");
    }
    WarnOutOfRange(m, warnings);
    WarnOptionalMembers(m, warnings);
}

std::vector<uint32_t> Switched(const Mapping& mapping, bool on) {
    std::vector<uint32_t> sent;
    auto send = [&sent](uint32_t message) { sent.push_back(message); };
    SwitchMapping(mapping, on, 0, send);  // notes as written: the transpose in force moves them while playing
    return sent;
}

EntryCheck CheckEntry(const EntryReport& entry, const KeyNameTable& names,
                      const std::map<int32_t, std::string>& by_code) {
    EntryCheck check{entry, "", "", SkipReason(entry, names), {}, {}, {}};
    if (entry.outcome != EntryOutcome::Stored && entry.outcome != EntryOutcome::NoCode) return check;
    const Mapping& m = entry.mapping;
    check.key_name = NameOf(names, by_code, entry.key_text, m.key);
    if (entry.modifier_text) check.modifier_name = NameOf(names, by_code, *entry.modifier_text, m.modifier);
    if (entry.outcome != EntryOutcome::Stored) return check;
    check.switch_on = Switched(m, true);
    check.switch_off = Switched(m, false);
    WarnLoadedEntry(entry, check.warnings);
    return check;
}

// A later entry for the same trigger replaces the earlier one whole.
void WarnReplaced(std::vector<EntryCheck>& entries) {
    std::map<int32_t, std::size_t> last_for_code;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].entry.outcome != EntryOutcome::Stored) continue;
        const int32_t code = entries[i].entry.mapping.key;
        const auto [it, first] = last_for_code.emplace(code, i);
        if (first) continue;
        EntryCheck& earlier = entries[it->second];
        earlier.warnings.push_back("replaced by " + entries[i].entry.label + " (same trigger " + std::to_string(code) +
                                   "): not in force");
        entries[i].warnings.push_back("replaces " + earlier.entry.label + " (same trigger " + std::to_string(code) +
                                      "), whatever its modifier");
        it->second = i;
    }
}

int ExitCode(const CheckResult& result) {
    if (result.failure.kind != FileFailure::None) return 2;
    for (const EntryCheck& check : result.entries) {
        if (check.entry.outcome != EntryOutcome::Stored) return 1;
    }
    return result.warning_count == 0 ? 0 : 1;
}

}  // namespace

std::map<int32_t, std::string> NamesByCode(const KeyNameTable& names) {
    std::map<int32_t, std::string> by_code;
    for (const auto& [name, code] : names) {
        auto [it, added] = by_code.emplace(code, name);
        if (!added && name < it->second) it->second = name;
    }
    return by_code;
}

CheckResult CheckMappingFile(const std::filesystem::path& mapping_file, const std::filesystem::path& key_names_file) {
    CheckResult result;
    result.mapping_file = mapping_file;
    result.key_names_file = key_names_file;
    KeyNameTable names;
    LoadKeyNames(names, key_names_file);
    result.key_names_found = IsRegularFile(key_names_file);
    result.key_name_count = names.size();

    const MappingFileRead read = LoadMappingFile(mapping_file, names, &result.report);
    result.failure = read.failure;
    result.midi_device = read.midi_device;
    result.release_on_change = read.release_on_change;
    result.loaded_count = read.mappings.size();
    if (result.failure.kind == FileFailure::None) {
        const auto by_code = NamesByCode(names);
        for (const EntryReport& entry : result.report.entries) {
            result.entries.push_back(CheckEntry(entry, names, by_code));
        }
        WarnReplaced(result.entries);
    }
    for (const EntryCheck& check : result.entries) result.warning_count += check.warnings.size();
    result.exit_code = ExitCode(result);
    return result;
}
