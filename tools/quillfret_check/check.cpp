#include "check.h"

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <variant>

#include "config/load_words.h"
#include "config/member_table.h"
#include "config/path_presence.h"
#include "engine/mapping_engine.h"

namespace {

// The name a text resolved through, or else a name for its code.
std::string NameOf(const KeyNamesRead& key_names, const std::string& text, int32_t code) {
    const auto named = key_names.names.find(text);
    if (named != key_names.names.end() && named->second == code && ResolveKeyName(key_names.names, text) == code) {
        return text;
    }
    const auto found = key_names.by_code.find(code);
    return found == key_names.by_code.end() ? "" : found->second;
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// Why an entry stores nothing, in the loader's own words.
std::string SkipReason(const EntryRead& entry, const KeyNameTable& names) {
    switch (entry.outcome) {
        case EntryOutcome::Stored: return "";
        case EntryOutcome::FailedFile: return "makes the whole file fail";
        case EntryOutcome::NoCode:
        case EntryOutcome::PauseKey: return IdleWords(entry, names) + ": nothing is stored";
        default: return IdleWords(entry, names);
    }
}

// Whether the member `name` that another one needs is there (and true, for a boolean).
bool Present(const EntryRead& entry, std::string_view name) {
    const MemberWritten* written = FindWritten(entry, name);
    if (written == nullptr) return false;
    if (const auto* field = std::get_if<bool Mapping::*>(&written->row->field)) return entry.mapping.*(*field);
    return true;
}

// The numbers the entry's record holds for a number member.
std::vector<int32_t> NumbersOf(const Mapping& mapping, const MemberRow& row) {
    if (const auto* field = std::get_if<int32_t Mapping::*>(&row.field)) return {mapping.*(*field)};
    if (const auto* field = std::get_if<std::optional<int32_t> Mapping::*>(&row.field)) {
        const std::optional<int32_t>& value = mapping.*(*field);
        return value ? std::vector<int32_t>{*value} : std::vector<int32_t>{};
    }
    if (const auto* field = std::get_if<std::vector<int32_t> Mapping::*>(&row.field)) return mapping.*(*field);
    return {};
}

std::string Lowered(std::string_view text) {
    std::string lowered(text);
    for (char& c : lowered) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    return lowered;
}

// A choice that is none of the row's: the default is taken.
std::string ChoiceWords(const MemberRow& row, const std::string& text) {
    const auto same_but_case = std::find_if(row.choices.begin(), row.choices.end(), [&text](std::string_view choice) {
        return Lowered(choice) == Lowered(text);
    });
    std::string words = std::string(row.name) + " " + Quoted(text);
    if (same_but_case != row.choices.end())
        return words + " is not exactly " + Quoted(*same_but_case) + " (case matters)";
    words += " is not one of ";
    for (std::string_view choice : row.choices) words += (choice == row.choices.front() ? "" : ", ") + Quoted(choice);
    return words;
}

// What the row says about the value written: a key that names none, a
// choice it does not offer, a number outside its range.
void WarnValue(const EntryRead& entry, const MemberWritten& written, std::vector<std::string>& warnings) {
    const MemberRow& row = *written.row;
    const std::string outside = ": " + std::string(row.outside);
    if (row.kind == MemberKind::Key && entry.mapping.*std::get<int32_t Mapping::*>(row.field) == 0) {
        warnings.push_back(std::string(row.name) + " " + Quoted(written.text) + " gives no key (code 0)" + outside);
    }
    if (row.kind == MemberKind::Choice &&
        std::find(row.choices.begin(), row.choices.end(), written.text) == row.choices.end()) {
        warnings.push_back(ChoiceWords(row, written.text) + outside);
    }
    if (row.kind != MemberKind::Number && row.kind != MemberKind::Numbers) return;
    for (int32_t value : NumbersOf(entry.mapping, row)) {
        if (InRange(row, value)) continue;
        warnings.push_back(std::string(row.name) + " " + std::to_string(value) + " is outside " +
                           RangeText(*row.range) + outside);
    }
}

// What the member table says about each member the entry has.
void WarnMembers(const EntryRead& entry, std::vector<std::string>& warnings) {
    for (const MemberWritten& written : entry.members) {
        const MemberRow& row = *written.row;
        if (!row.alternative_to.empty() && FindWritten(entry, row.alternative_to) != nullptr) {
            warnings.push_back(Quoted(row.name) + " is ignored because " + Quoted(row.alternative_to) + " is present");
        } else if (!row.needs.empty() && !Present(entry, row.needs)) {
            const MemberRow* needed = FindMember(MemberPlace::Entry, row.needs);
            warnings.push_back(Quoted(row.name) + " does nothing " +
                               (needed->kind == MemberKind::Boolean ? "unless " + Quoted(row.needs) + " is true"
                                                                    : "without " + Quoted(row.needs)));
        } else {
            WarnValue(entry, written, warnings);
        }
    }
}

std::vector<uint32_t> Switched(const Mapping& mapping, bool on) {
    std::vector<uint32_t> sent;
    auto send = [&sent](uint32_t message) { sent.push_back(message); };
    SwitchMapping(mapping, on, 0, send);  // notes as written: the transpose in force moves them while playing
    return sent;
}

EntryCheck CheckEntry(EntryRead entry, const KeyNamesRead& key_names) {
    EntryCheck check{std::move(entry), "", "", "", {}, {}, {}};
    const EntryRead& read = check.entry;
    check.skip_reason = SkipReason(read, key_names.names);
    const bool read_through = read.outcome == EntryOutcome::Stored || read.outcome == EntryOutcome::NoCode ||
                              read.outcome == EntryOutcome::PauseKey;
    if (!read_through) return check;
    check.key_name = NameOf(key_names, read.key_text, read.mapping.key);
    if (const MemberWritten* modifier = FindWritten(read, "modifier")) {
        check.modifier_name = NameOf(key_names, modifier->text, read.mapping.modifier);
    }
    if (read.outcome != EntryOutcome::Stored) return check;
    check.switch_on = Switched(read.mapping, true);
    check.switch_off = Switched(read.mapping, false);
    WarnMembers(read, check.warnings);
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

// A key of the file's own (the pause key) that names no key.
void WarnFileMembers(const FileSettings& settings, std::vector<std::string>& warnings) {
    for (const MemberRow& row : MembersOf(MemberPlace::File)) {
        const auto* key = std::get_if<std::optional<NamedKey> FileSettings::*>(&row.field);
        if (key == nullptr || !(settings.*(*key)) || (settings.*(*key))->code != 0) continue;
        warnings.push_back(std::string(row.name) + " " + Quoted((settings.*(*key))->text) +
                           " gives no key (code 0): " + std::string(row.outside));
    }
}

int ExitCode(const CheckResult& result) {
    if (result.read.failure.kind != FileFailure::None) return 2;
    for (const EntryCheck& check : result.entries) {
        if (check.entry.outcome != EntryOutcome::Stored) return 1;
    }
    return result.warning_count == 0 ? 0 : 1;
}

}  // namespace

CheckResult CheckRead(MappingFileRead read, const KeyNamesRead& key_names) {
    CheckResult result;
    result.key_names_file = key_names.file;
    result.key_names_found = key_names.found;
    result.key_name_count = key_names.names.size();
    result.key_names_by_code = key_names.by_code;
    result.read = std::move(read);
    // What stays in the read is what a diagnosis keeps, the first entry that
    // does nothing, so the program's balloon can be told from it.
    const EntryRead* first_idle = FirstIdle(result.read);
    std::vector<EntryRead> diagnosis;
    if (first_idle != nullptr) diagnosis.push_back(*first_idle);
    if (result.read.failure.kind == FileFailure::None) {
        for (EntryRead& entry : result.read.entries) result.entries.push_back(CheckEntry(std::move(entry), key_names));
        WarnReplaced(result.entries);
    }
    result.read.entries = std::move(diagnosis);
    WarnFileMembers(result.read.settings, result.file_warnings);
    result.warning_count = result.file_warnings.size();
    for (const EntryCheck& check : result.entries) result.warning_count += check.warnings.size();
    result.exit_code = ExitCode(result);
    return result;
}

std::optional<EntryCheck> CheckOneEntry(const MappingFileRead& read, std::size_t index, const KeyNamesRead& key_names) {
    if (read.failure.kind != FileFailure::None || index >= read.entries.size()) return std::nullopt;
    const EntryRead& wanted = read.entries[index];
    if (wanted.outcome != EntryOutcome::Stored) return CheckEntry(wanted, key_names);
    std::vector<EntryCheck> same_trigger;
    std::size_t at = 0;
    for (std::size_t i = 0; i < read.entries.size(); ++i) {
        const EntryRead& entry = read.entries[i];
        if (entry.outcome != EntryOutcome::Stored || entry.mapping.key != wanted.mapping.key) continue;
        if (i == index) at = same_trigger.size();
        same_trigger.push_back(CheckEntry(entry, key_names));
    }
    WarnReplaced(same_trigger);
    return std::move(same_trigger[at]);
}

std::string RangeText(const MemberRange& range) {
    return std::to_string(range.low) + " to " + std::to_string(range.high);
}

KeyNamesRead ReadKeyNames(const std::filesystem::path& file) {
    KeyNamesRead read;
    read.file = file;
    LoadKeyNames(read.names, file);
    read.found = IsRegularFile(file);
    for (const auto& [name, code] : read.names) {
        auto [it, added] = read.by_code.emplace(code, name);
        if (!added && name < it->second) it->second = name;
    }
    return read;
}

CheckResult CheckMappingFile(const std::filesystem::path& mapping_file, const KeyNamesRead& key_names) {
    CheckResult result = CheckRead(ReadMappingFile(mapping_file, key_names.names, ReadDetail::EveryEntry), key_names);
    result.mapping_file = mapping_file;
    return result;
}

CheckResult CheckMappingText(std::string_view text, const KeyNamesRead& key_names) {
    return CheckRead(ReadMappingText(text, key_names.names, ReadDetail::EveryEntry), key_names);
}
