#include <nlohmann/json.hpp>

#include "config/load_words.h"
#include "render.h"

namespace {

using json = nlohmann::json;

const char* OutcomeName(EntryOutcome outcome) {
    switch (outcome) {
        case EntryOutcome::Stored: return "stored";
        case EntryOutcome::NoCode: return "no_code";
        case EntryOutcome::SkippedNotObject: return "skipped_not_object";
        case EntryOutcome::SkippedNoKey: return "skipped_no_key";
        case EntryOutcome::SkippedKeyNotText: return "skipped_key_not_string";
        case EntryOutcome::FailedFile: return "fails_file";
    }
    return "";
}

const char* FailureName(FileFailure failure) {
    switch (failure) {
        case FileFailure::None: return "none";
        case FileFailure::NotReadable: return "not_readable";
        case FileFailure::TooLarge: return "too_large";
        case FileFailure::Syntax: return "syntax";
        case FileFailure::Type: return "type";
        case FileFailure::Other: return "other";
    }
    return "";
}

json Messages(const std::vector<uint32_t>& packed) {
    json messages = json::array();
    for (uint32_t message : packed) {
        const ShortMessage m = UnpackShortMessage(message);
        json item = {{"channel", m.channel}, {"text", MessageText(message)}, {"packed", message}};
        if (m.status == MidiStatus::NoteOn || m.status == MidiStatus::NoteOff) {
            item["type"] = m.status == MidiStatus::NoteOn ? "note_on" : "note_off";
            item["note"] = m.data1;
            item["note_name"] = NoteName(m.data1);
            if (m.status == MidiStatus::NoteOn) item["velocity"] = m.data2;
        } else if (m.status == MidiStatus::ProgramChange) {
            item["type"] = "program_change";
            item["program"] = m.data1;
        } else if (m.status == MidiStatus::PitchBend) {
            item["type"] = "pitch_bend";
            item["value"] = PitchBendOf(m);
        } else {
            item["type"] = "control_change";
            item["controller"] = m.data1;
            item["value"] = m.data2;
        }
        messages.push_back(std::move(item));
    }
    return messages;
}

json Trigger(const std::optional<std::string>& text, int32_t code, const std::string& name) {
    if (!text) return nullptr;
    return {{"text", *text}, {"code", code}, {"name", name.empty() ? json(nullptr) : json(name)}};
}

json EntryJson(const EntryCheck& check) {
    const EntryReport& entry = check.entry;
    const Mapping& m = entry.mapping;
    json item = {{"path", entry.label}, {"outcome", OutcomeName(entry.outcome)}, {"warnings", check.warnings}};
    if (!check.skip_reason.empty()) item["reason"] = check.skip_reason;
    if (entry.outcome != EntryOutcome::Stored) return item;
    item["key"] = Trigger(entry.key_text, m.key, check.key_name);
    item["modifier"] = Trigger(entry.modifier_text, m.modifier, check.modifier_name);
    item["mode"] = m.mode == MappingMode::Toggle ? "toggle" : "hold";
    item["channel"] = m.channel;
    auto optional = [](const std::optional<int32_t>& value) { return value ? json(*value) : json(nullptr); };
    item["program"] = optional(m.program);
    item["bank"] = optional(m.bank);
    item["pitch_bend"] = optional(m.pitch_bend);
    item["transpose"] = optional(m.transpose);
    if (m.transpose) item["transpose_text"] = TransposeText(*m.transpose);
    const bool toggle = m.mode == MappingMode::Toggle;
    item["press"] = Messages(check.switch_on);
    item[toggle ? "second_press" : "release"] = Messages(check.switch_off);
    if (toggle) item["release"] = json::array();
    return item;
}

json FailureJson(const LoadFailure& failure) {
    if (failure.kind == FileFailure::None) return nullptr;
    json item = {{"kind", FailureName(failure.kind)}, {"message", FailureWords(failure)}};
    if (failure.kind == FileFailure::Syntax) {
        item["line"] = failure.line;
        item["column"] = failure.column;
    }
    if (failure.kind == FileFailure::Type) item["path"] = failure.path;
    return item;
}

}  // namespace

void RenderJson(const CheckResult& result, std::ostream& out) {
    json entries = json::array();
    for (const EntryCheck& check : result.entries) entries.push_back(EntryJson(check));
    const json document = {
        {"file", PathText(result.mapping_file)},
        {"key_names_file", PathText(result.key_names_file)},
        {"key_names_found", result.key_names_found},
        {"key_name_count", result.key_name_count},
        {"loads", result.failure.kind == FileFailure::None},
        {"failure", FailureJson(result.failure)},
        {"midi_device", result.midi_device ? json(*result.midi_device) : json(nullptr)},
        {"release_on_change", result.release_on_change},
        {"mapping_count", result.loaded_count},
        {"entries", std::move(entries)},
        {"warning_count", result.warning_count},
        {"exit_code", result.exit_code},
    };
    // The parser's words may quote bytes that are not UTF-8; they are replaced.
    out << document.dump(2, ' ', false, json::error_handler_t::replace) << "\n";
}
