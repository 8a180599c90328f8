#include "config/mapping_file.h"

#include <algorithm>
#include <exception>
#include <fstream>
#include <istream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string_view>
#include <utility>

#include "config/member_reading.h"
#include "config/path_presence.h"
#include "config/platform.h"
#include "config/read_position.h"

namespace {

using json = nlohmann::json;

// The entry guard: an entry is read only when it is an object (a null entry
// counts as one without members) whose "key" is a string. Any other entry is
// skipped unread, on purpose: the other entries of the file still load.
// Gives the reason an entry is skipped, or nothing when it is read.
std::optional<EntryOutcome> SkipReason(const json& entry) {
    if (entry.is_null()) return EntryOutcome::SkippedNoKey;
    if (!entry.is_object()) return EntryOutcome::SkippedNotObject;
    const auto key = entry.find("key");
    if (key == entry.end()) return EntryOutcome::SkippedNoKey;
    if (!key->is_string()) return EntryOutcome::SkippedKeyNotText;
    return std::nullopt;
}

// The "key" as written: its string, or its JSON text when it is not one.
std::string KeyText(const json& entry, EntryOutcome outcome) {
    if (outcome == EntryOutcome::SkippedKeyNotText) {
        return entry.at("key").dump(-1, ' ', false, json::error_handler_t::replace);
    }
    if (outcome == EntryOutcome::NoCode || outcome == EntryOutcome::PauseKey || outcome == EntryOutcome::Stored) {
        return entry.at("key").get<std::string>();
    }
    return "";
}

EntryRead StartEntry(const Reader& r, EntryOutcome outcome) {
    EntryRead entry;
    entry.label = "mappings" + StepLabel(r.at.entry);
    entry.outcome = outcome;
    return entry;
}

// Counts an entry that does nothing. A diagnosis keeps the first one; a
// read of every entry has it already.
void NoteIdle(Reader& r, const json& entry, EntryOutcome outcome) {
    if (r.read.idle_count++ != 0 || r.detail == ReadDetail::EveryEntry) return;
    EntryRead& idle = r.read.entries.emplace_back(StartEntry(r, outcome));
    idle.key_text = KeyText(entry, outcome);
}

// What an entry read through comes to: its key gives no code, or the pause
// key's (which is never a trigger), or it is stored.
EntryOutcome EntryOutcomeOf(const Mapping& mapping, const FileSettings& settings) {
    if (mapping.key == 0) return EntryOutcome::NoCode;
    if (settings.pause_key && settings.pause_key->code == mapping.key) return EntryOutcome::PauseKey;
    return EntryOutcome::Stored;
}

void ReadEntry(Reader& r, const json& entry) {
    const std::optional<EntryOutcome> skipped = SkipReason(entry);
    EntryRead* noted = nullptr;
    if (r.detail == ReadDetail::EveryEntry) {
        noted = &r.read.entries.emplace_back(StartEntry(r, skipped.value_or(EntryOutcome::FailedFile)));
        if (skipped) noted->key_text = KeyText(entry, *skipped);
    }
    if (skipped) {
        NoteIdle(r, entry, *skipped);
        return;
    }
    Mapping mapping;
    for (const MemberRow& row : MembersOf(MemberPlace::Entry)) ReadEntryMember(r, entry, row, mapping, noted);
    const EntryOutcome outcome = EntryOutcomeOf(mapping, r.read.settings);
    if (noted != nullptr) {
        noted->outcome = outcome;
        noted->key_text = KeyText(entry, outcome);
        noted->mapping = mapping;
    }
    if (outcome != EntryOutcome::Stored) {
        NoteIdle(r, entry, outcome);
        return;
    }
    r.read.mappings.insert_or_assign(mapping.key, std::move(mapping));
}

// "mappings": array elements in order; an object's member values in
// ascending name order; null nothing; any other value is one entry (which is
// then skipped). The library's iteration gives exactly these forms.
void ReadEntries(Reader& r, const json& entries) {
    std::size_t index = 0;
    for (auto it = entries.begin(); it != entries.end(); ++it, ++index) {
        r.at = Position{};
        r.at.entry = StepInto(entries, index, it);
        ReadEntry(r, *it);
    }
}

// Reads the document into `read`: the file's settings, then its table, and
// what the diagnosis needs.
void ReadDocument(std::istream& in, const KeyNameTable& key_names, ReadDetail detail, MappingFileRead& read) {
    json document;
    Reader r{key_names, detail, read, {}};  // points into the document, so it ends first
    try {
        in >> document;  // stream extraction: one value; whatever follows it is not read
        if (document.is_object()) {
            for (const MemberRow& row : MembersOf(MemberPlace::File)) {
                if (row.kind != MemberKind::Entries) ReadFileMember(r, document, row, read.settings);
            }
        }
        r.at = Position{};
        Expect(r, document, "an object");
        ReadEntries(r, document["mappings"]);  // a null document becomes an empty object here
    } catch (const std::exception& error) {
        // Any failure of the reading (syntax, a member of the wrong type in
        // an entry the guard let through, running out of memory) fails the
        // file as a whole, on purpose: no half-read file stays in force. The
        // device name read before stays; what the diagnosis says is why.
        read.mappings.clear();
        FileSettings defaults;
        defaults.midi_device = std::move(read.settings.midi_device);
        read.settings = std::move(defaults);
        read.idle_count = 0;
        if (r.detail == ReadDetail::Diagnosis) read.entries.clear();
        NoteFailure(read.failure, r.at, error, in);
    }
}

MappingFileRead Refused(FileFailure failure) {
    MappingFileRead refused;
    refused.failure.kind = failure;
    return refused;
}

MappingFileRead ReadStream(std::istream& in, const KeyNameTable& key_names, ReadDetail detail) {
    MappingFileRead read;
    ReadDocument(in, key_names, detail, read);
    return read;
}

}  // namespace

const MemberWritten* FindWritten(const EntryRead& entry, std::string_view name) {
    const auto found = std::find_if(entry.members.begin(), entry.members.end(),
                                    [name](const MemberWritten& member) { return member.row->name == name; });
    return found == entry.members.end() ? nullptr : &*found;
}

const EntryRead* FirstIdle(const MappingFileRead& read) {
    const auto idle = std::find_if(read.entries.begin(), read.entries.end(), [](const EntryRead& entry) {
        return entry.outcome != EntryOutcome::Stored && entry.outcome != EntryOutcome::FailedFile;
    });
    return idle == read.entries.end() ? nullptr : &*idle;
}

MappingFileRead ReadMappingFile(const std::filesystem::path& path, const KeyNameTable& key_names, ReadDetail detail) {
    if (!IsRegularFile(path)) return Refused(FileFailure::NotReadable);
    std::error_code error;  // a size that cannot be read means the file cannot be read either
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error) return Refused(FileFailure::NotReadable);
    if (size > kMaxMappingFileBytes) return Refused(FileFailure::TooLarge);
    std::ifstream in(path);  // text mode; other programs may keep reading and writing the file
    if (!in.is_open()) {
        MappingFileRead refused = Refused(FileFailure::NotReadable);
        if (HeldByAnotherProgram(path)) refused.status = ReadStatus::Busy;
        return refused;
    }
    return ReadStream(in, key_names, detail);
}

MappingFileRead ReadMappingText(std::string_view text, const KeyNameTable& key_names, ReadDetail detail) {
    if (text.size() > kMaxMappingFileBytes) return Refused(FileFailure::TooLarge);
    std::istringstream in{std::string(text)};
    return ReadStream(in, key_names, detail);
}
