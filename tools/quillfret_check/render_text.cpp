#include <algorithm>
#include <string>
#include <vector>

#include "render.h"

namespace {

std::string Joined(const std::vector<uint32_t>& messages) {
    if (messages.empty()) return "nothing";
    std::string text;
    for (uint32_t message : messages) text += (text.empty() ? "" : ", ") + MessageText(message);
    return text;
}

// `"A" = 65 (A)`: the text, the code and a name of the code.
std::string Trigger(const std::string& text, int32_t code, const std::string& name) {
    std::string trigger = "\"" + text + "\" = " + std::to_string(code);
    if (!name.empty() && name != text) trigger += " (" + name + ")";
    return trigger;
}

void RenderEntry(const EntryCheck& check, std::ostream& out) {
    const EntryReport& entry = check.entry;
    const Mapping& m = entry.mapping;
    out << entry.label << ": ";
    if (entry.outcome != EntryOutcome::Stored) {
        if (entry.outcome == EntryOutcome::NoCode) out << "key ";
        out << check.skip_reason << "\n";
    } else {
        out << "key " << Trigger(entry.key_text, m.key, check.key_name);
        if (m.modifier != 0) {
            out << ", only while " << Trigger(entry.modifier_text.value_or(""), m.modifier, check.modifier_name)
                << " is held";
        }
        out << ", " << (m.mode == MappingMode::Toggle ? "toggle" : "hold") << ", channel " << m.channel << "\n";
        if (m.mode == MappingMode::Toggle) {
            out << "  first press:  " << Joined(check.switch_on) << "\n"
                << "  second press: " << Joined(check.switch_off) << "\n"
                << "  release:      nothing\n";
        } else {
            out << "  press:   " << Joined(check.switch_on) << "\n"
                << "  release: " << Joined(check.switch_off) << "\n";
        }
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
    if (result.midi_device) out << "MIDI device: \"" << *result.midi_device << "\"\n";
}

}  // namespace

void RenderText(const CheckResult& result, std::ostream& out) {
    RenderHeader(result, out);
    if (result.report.failure != FileFailure::None) {
        out << "The file fails as a whole: " << FailureText(result.report) << "\n"
            << "Quillfret would load no mappings from it";
        out << (result.midi_device ? "; it would still take its \"midi_device\".\n" : ".\n");
        return;
    }
    out << "\n";
    for (const EntryCheck& check : result.entries) RenderEntry(check, out);
    const auto skipped = std::count_if(result.entries.begin(), result.entries.end(), [](const EntryCheck& check) {
        return check.entry.outcome != EntryOutcome::Stored;
    });
    out << (result.entries.empty() ? "" : "\n") << "Quillfret would load " << result.loaded_count << " mapping"
        << (result.loaded_count == 1 ? "" : "s") << " from " << result.entries.size() << " entr"
        << (result.entries.size() == 1 ? "y" : "ies") << "; " << skipped << " skipped or storing nothing; "
        << result.warning_count << " warning" << (result.warning_count == 1 ? "" : "s") << ".\n";
}
