#include <map>
#include <nlohmann/json.hpp>
#include <variant>

#include "config/load_words.h"
#include "config/member_table.h"
#include "config/utf8.h"
#include "render.h"

namespace {

using json = nlohmann::json;

const char* OutcomeName(EntryOutcome outcome) {
    switch (outcome) {
        case EntryOutcome::Stored: return "stored";
        case EntryOutcome::NoCode: return "no_code";
        case EntryOutcome::PauseKey: return "pause_key";
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

// The value a member of an entry has in force: its default when absent, null
// for an optional member that is absent.
json EntryMemberJson(const EntryCheck& check, const MemberRow& row) {
    const EntryRead& entry = check.entry;
    const Mapping& m = entry.mapping;
    if (row.kind == MemberKind::Key) {
        const MemberWritten* written = FindWritten(entry, row.name);
        const int32_t code = m.*std::get<int32_t Mapping::*>(row.field);
        const bool modifier = row.name == "modifier";
        return Trigger(written ? std::optional(written->text) : std::nullopt, code,
                       modifier ? check.modifier_name : check.key_name);
    }
    if (row.kind == MemberKind::Choice) {
        return row.choices[static_cast<std::size_t>(m.*std::get<MappingMode Mapping::*>(row.field))];
    }
    if (const auto* field = std::get_if<bool Mapping::*>(&row.field)) return m.*(*field);
    if (const auto* field = std::get_if<int32_t Mapping::*>(&row.field)) return m.*(*field);
    if (const auto* field = std::get_if<std::optional<int32_t> Mapping::*>(&row.field)) {
        return m.*(*field) ? json(*(m.*(*field))) : json(nullptr);
    }
    if (const auto* field = std::get_if<std::vector<int32_t> Mapping::*>(&row.field)) return m.*(*field);
    return nullptr;
}

json EntryJson(const EntryCheck& check) {
    const EntryRead& entry = check.entry;
    const Mapping& m = entry.mapping;
    json item = {{"path", entry.label}, {"outcome", OutcomeName(entry.outcome)}, {"warnings", check.warnings}};
    if (!check.skip_reason.empty()) item["reason"] = check.skip_reason;
    if (entry.outcome != EntryOutcome::Stored) return item;
    // Every member in force, by the member table; an alternative is in force through its main member.
    for (const MemberRow& row : MembersOf(MemberPlace::Entry)) {
        if (row.alternative_to.empty()) item[std::string(row.name)] = EntryMemberJson(check, row);
    }
    if (m.transpose) item["transpose_text"] = TransposeText(*m.transpose);
    const bool toggle = m.mode == MappingMode::Toggle;
    item["press"] = Messages(check.switch_on);
    item[toggle ? "second_press" : "release"] = Messages(check.switch_off);
    if (toggle) item["release"] = json::array();
    return item;
}

// The file's own members as read, by the member table; `key_names` names
// the codes of keys.
void AddFileSettings(const FileSettings& settings, const std::map<int32_t, std::string>& key_names, json& document) {
    for (const MemberRow& row : MembersOf(MemberPlace::File)) {
        json& item = document[std::string(row.name)];
        if (const auto* text = std::get_if<std::optional<std::string> FileSettings::*>(&row.field)) {
            const std::optional<std::string>& value = settings.*(*text);
            item = value ? json(*value) : json(nullptr);
        } else if (const auto* flag = std::get_if<bool FileSettings::*>(&row.field)) {
            item = settings.*(*flag);
        } else if (const auto* texts = std::get_if<std::vector<std::wstring> FileSettings::*>(&row.field)) {
            item = json::array();
            for (const std::wstring& text : settings.*(*texts)) item.push_back(WideToUtf8(text).value_or(""));
        } else if (const auto* key = std::get_if<std::optional<NamedKey> FileSettings::*>(&row.field)) {
            const std::optional<NamedKey>& value = settings.*(*key);
            const auto named = value ? key_names.find(value->code) : key_names.end();
            item = Trigger(value ? std::optional(value->text) : std::nullopt, value ? value->code : 0,
                           named == key_names.end() ? "" : named->second);
        } else {
            document.erase(std::string(row.name));  // the mappings stand in "entries"
        }
    }
}

const char* KindName(MemberKind kind) {
    switch (kind) {
        case MemberKind::Text: return "text";
        case MemberKind::Boolean: return "boolean";
        case MemberKind::Number: return "number";
        case MemberKind::Numbers: return "numbers";
        case MemberKind::Texts: return "texts";
        case MemberKind::Key: return "key";
        case MemberKind::Choice: return "choice";
        case MemberKind::Entries: return "entries";
    }
    return "";
}

json RowJson(const MemberRow& row) {
    auto text_or_null = [](std::string_view text) { return text.empty() ? json(nullptr) : json(std::string(text)); };
    json item = {{"name", row.name},
                 {"kind", KindName(row.kind)},
                 {"range", row.range ? json({{"low", row.range->low}, {"high", row.range->high}}) : json(nullptr)},
                 {"default", row.default_json.empty() ? json(nullptr) : json::parse(row.default_json)},
                 {"outside", text_or_null(row.outside)},
                 {"alternative_to", text_or_null(row.alternative_to)},
                 {"needs", text_or_null(row.needs)},
                 {"choices", json::array()},
                 {"help", row.help}};
    for (std::string_view choice : row.choices) item["choices"].push_back(choice);
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

nlohmann::json FileReadJson(const MappingFileRead& read, const std::map<int32_t, std::string>& key_names) {
    json document = {
        {"loads", read.failure.kind == FileFailure::None},
        {"failure", FailureJson(read.failure)},
        {"mapping_count", read.mappings.size()},
    };
    AddFileSettings(read.settings, key_names, document);
    return document;
}

nlohmann::json ReportJson(const CheckResult& result) {
    json entries = json::array();
    for (const EntryCheck& check : result.entries) entries.push_back(EntryJson(check));
    json document = FileReadJson(result.read, result.key_names_by_code);
    document.update({
        {"file", PathText(result.mapping_file)},
        {"key_names_file", PathText(result.key_names_file)},
        {"key_names_found", result.key_names_found},
        {"key_name_count", result.key_name_count},
        {"entries", std::move(entries)},
        {"file_warnings", result.file_warnings},
        {"warning_count", result.warning_count},
        {"exit_code", result.exit_code},
    });
    return document;
}

void RenderJson(const CheckResult& result, std::ostream& out) {
    // The parser's words may quote bytes that are not UTF-8; they are replaced.
    out << ReportJson(result).dump(2, ' ', false, json::error_handler_t::replace) << "\n";
}

nlohmann::json MemberTableJson() {
    json table = {{"file", json::array()}, {"entry", json::array()}};
    for (const MemberRow& row : MembersOf(MemberPlace::File)) table["file"].push_back(RowJson(row));
    for (const MemberRow& row : MembersOf(MemberPlace::Entry)) table["entry"].push_back(RowJson(row));
    return table;
}
