#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "config/load_words.h"
#include "config/utf8.h"
#include "engine/midi_message.h"
#include "render.h"

namespace {

bool IsControlChange(const ShortMessage& message, int32_t channel, int32_t controller) {
    return message.status == MidiStatus::ControlChange && message.channel == channel && message.data1 == controller;
}

// A bank select and the program change it belongs to, in one phrase:
// "program change 5 (bank 2: CC 0 = 0, CC 32 = 2)". Only a program change
// follows the two controllers of a bank select directly; any other messages
// are said one by one.
size_t SayBankAndProgram(const std::vector<uint32_t>& messages, size_t i, std::string& text) {
    if (i + 2 >= messages.size()) return 0;
    const ShortMessage high = UnpackShortMessage(messages[i]);
    const ShortMessage low = UnpackShortMessage(messages[i + 1]);
    const ShortMessage program = UnpackShortMessage(messages[i + 2]);
    if (!IsControlChange(high, high.channel, kBankSelectHigh) || !IsControlChange(low, high.channel, kBankSelectLow) ||
        program.status != MidiStatus::ProgramChange || program.channel != high.channel) {
        return 0;
    }
    text += MessageText(messages[i + 2]) + " (bank " + std::to_string(high.data2 << 7 | low.data2) +
            ": CC 0 = " + std::to_string(high.data2) + ", CC 32 = " + std::to_string(low.data2) + ")";
    return 3;
}

}  // namespace

std::string MessagesText(const std::vector<uint32_t>& messages, std::optional<int32_t> transpose) {
    std::string text = transpose ? "transpose " + Signed(*transpose) : "";
    for (size_t i = 0; i < messages.size();) {
        if (!text.empty()) text += ", ";
        const size_t said = SayBankAndProgram(messages, i, text);
        if (said == 0) text += MessageText(messages[i]);
        i += said == 0 ? 1 : said;
    }
    return text.empty() ? "nothing" : text;
}

namespace {

// `"A" = 65 (A)`: the text, the code and a name of the code.
std::string Trigger(const std::string& text, int32_t code, const std::string& name) {
    std::string trigger = "\"" + text + "\" = " + std::to_string(code);
    if (!name.empty() && name != text) trigger += " (" + name + ")";
    return trigger;
}

void RenderEntry(const EntryCheck& check, std::ostream& out) {
    const EntryRead& entry = check.entry;
    const Mapping& m = entry.mapping;
    out << entry.label << ": ";
    if (entry.outcome != EntryOutcome::Stored) {
        if (entry.outcome == EntryOutcome::NoCode || entry.outcome == EntryOutcome::PauseKey) out << "key ";
        out << check.skip_reason << "\n";
    } else {
        out << "key " << Trigger(entry.key_text, m.key, check.key_name);
        if (m.modifier != 0) {
            const MemberWritten* modifier = FindWritten(entry, "modifier");
            out << ", only while "
                << Trigger(modifier != nullptr ? modifier->text : "", m.modifier, check.modifier_name) << " is held";
        }
        out << ", " << (m.mode == MappingMode::Toggle ? "toggle" : "hold") << ", channel " << m.channel << "\n";
        if (m.mode == MappingMode::Toggle) {
            out << "  first press:  " << MessagesText(check.switch_on, m.transpose) << "\n"
                << "  second press: " << MessagesText(check.switch_off) << "\n"
                << "  release:      nothing\n";
        } else {
            out << "  press:   " << MessagesText(check.switch_on, m.transpose) << "\n"
                << "  release: " << MessagesText(check.switch_off) << "\n";
        }
        if (m.transpose) out << "  " << TransposeText(*m.transpose) << "\n";
    }
    for (const std::string& warning : check.warnings) out << "  warning: " << warning << "\n";
}

void RenderHeader(const CheckResult& result, std::ostream& out) {
    out << "File: " << PathText(result.mapping_file) << "\n";
    out << "Key names: " << PathText(result.key_names_file);
    if (result.key_names_found) {
        out << " (" << result.key_name_count << " names)\n";
    } else {
        out << " not found: only decimal codes work\n";
    }
    const FileSettings& settings = result.read.settings;
    if (settings.midi_device) out << "MIDI device: \"" << *settings.midi_device << "\"\n";
    if (!settings.only_in.empty()) {
        out << "Plays only in: ";
        for (size_t i = 0; i < settings.only_in.size(); ++i) {
            out << (i == 0 ? "" : ", ") << WideToUtf8(settings.only_in[i]).value_or("");
        }
        out << " (a press acts only while a window of one of them is in front)\n";
    }
    if (settings.pause_key) {
        const auto named = result.key_names_by_code.find(settings.pause_key->code);
        out << "Pause key: "
            << Trigger(settings.pause_key->text, settings.pause_key->code,
                       named == result.key_names_by_code.end() ? "" : named->second)
            << " (pauses everything and plays again; never a trigger)\n";
    }
    for (const std::string& warning : result.file_warnings) out << "  warning: " << warning << "\n";
    if (settings.release_on_change) {
        out << "Release on change: what is still on is switched off when this file is saved again, another config "
               "is chosen, or Quillfret quits\n";
    }
}

}  // namespace

void RenderText(const CheckResult& result, std::ostream& out) {
    RenderHeader(result, out);
    if (result.read.failure.kind != FileFailure::None) {
        out << "The file fails as a whole: " << FailureWords(result.read.failure) << "\n"
            << "Quillfret would load no mappings from it";
        out << (result.read.settings.midi_device ? "; it would still take its \"midi_device\".\n" : ".\n");
        return;
    }
    out << "\n";
    for (const EntryCheck& check : result.entries) RenderEntry(check, out);
    const bool transposes = std::any_of(result.entries.begin(), result.entries.end(), [](const EntryCheck& check) {
        return check.entry.outcome == EntryOutcome::Stored && check.entry.mapping.transpose;
    });
    if (transposes) {
        out << "Notes are shown as written: the transpose keys move them while playing (a note moved outside "
            << RangeText(*FindMember(MemberPlace::Entry, "notes")->range)
            << " is not sent), and the transpose starts at 0 whenever another config is chosen.\n";
    }
    const auto skipped = std::count_if(result.entries.begin(), result.entries.end(), [](const EntryCheck& check) {
        return check.entry.outcome != EntryOutcome::Stored;
    });
    const size_t loaded = result.read.mappings.size();
    out << (result.entries.empty() ? "" : "\n") << "Quillfret would load " << loaded << " mapping"
        << (loaded == 1 ? "" : "s") << " from " << result.entries.size() << " entr"
        << (result.entries.size() == 1 ? "y" : "ies") << "; " << skipped << " skipped or storing nothing; "
        << result.warning_count << " warning" << (result.warning_count == 1 ? "" : "s") << ".\n";
}
