#include "config/mapping_file.h"

#include <cmath>
#include <exception>
#include <fstream>
#include <istream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <string_view>
#include <utility>

#include "config/file_busy.h"
#include "config/regular_file.h"

namespace {

using json = nlohmann::json;

// One step into a container: an array element by index, an object member by
// name, or (for a single value read as a one-element list) the value itself.
struct Step {
    const json* container = nullptr;
    std::size_t index = 0;
    const std::string* name = nullptr;
};

// Where the reader is. Kept up to date with plain stores as it goes, so that
// a failure can name the member that caused it without slowing the load.
struct Position {
    Step entry;                      // the entry of "mappings" (container null: not in one)
    const char* member = nullptr;    // the member being read, of the entry or the top level
    Step element;                    // the element of a list member
    const json* value = nullptr;     // the value being converted
    const char* expected = nullptr;  // what the conversion expects, as "a number"
};

struct Reader {
    const KeyNameTable& key_names;
    MappingFileRead& read;
    MappingFileReport* report;
    Position at;
};

Step StepInto(const json& container, std::size_t index, const json::const_iterator& it) {
    return {&container, index, container.is_object() ? &it.key() : nullptr};
}

std::string StepLabel(const Step& step) {
    if (step.container == nullptr || !step.container->is_structured()) return "";
    std::string label(1, '[');
    label += step.name != nullptr ? json(*step.name).dump(-1, ' ', false, json::error_handler_t::replace)
                                  : std::to_string(step.index);
    label += ']';
    return label;
}

std::string PathOf(const Position& at) {
    std::string path = at.entry.container != nullptr ? "mappings" + StepLabel(at.entry) : "";
    if (at.member != nullptr) path += (path.empty() ? "" : ".") + std::string(at.member);
    return path + StepLabel(at.element);
}

const json* Member(Reader& r, const json& object, const char* name) {
    r.at.member = name;
    r.at.element = {};
    r.at.value = nullptr;
    const auto found = object.find(name);
    return found == object.end() ? nullptr : &*found;
}

const json& Expect(Reader& r, const json& value, const char* expected) {
    r.at.value = &value;
    r.at.expected = expected;
    return value;
}

// A number read as a signed 32-bit value: an integer keeps its low 32 bits,
// true and false are 1 and 0 (the library's own conversion); anything else
// raises a type error. The library converts a fraction by a plain cast, which
// is undefined beyond 32 bits, so a fraction is truncated toward zero here and
// then keeps its low 32 bits like an integer. (The parser rejects a number
// that overflows a double, so the value is always finite.)
int32_t ToInt32(const json& value) {
    if (!value.is_number_float()) return value.get<int32_t>();
    const double low = std::fmod(std::trunc(value.get<double>()), 4294967296.0);
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<int64_t>(low)));
}

// A number member of an entry; nothing when it is absent.
std::optional<int32_t> OptionalNumber(Reader& r, const json& entry, const char* name) {
    const json* value = Member(r, entry, name);
    if (value == nullptr) return std::nullopt;
    return ToInt32(Expect(r, *value, "a number"));
}

int32_t Number(Reader& r, const json& entry, const char* name, int32_t fallback) {
    return OptionalNumber(r, entry, name).value_or(fallback);
}

const std::string& Text(Reader& r, const json& value) {
    return Expect(r, value, "a string").get_ref<const std::string&>();
}

// "notes" (an array, or any single value read as a one-element list), or else
// the single "note"; likewise "cc_numbers" and "cc_number".
void ReadList(Reader& r, const json& entry, const char* list, const char* single, std::vector<int32_t>& out) {
    if (const json* values = Member(r, entry, list)) {
        std::size_t index = 0;
        for (auto it = values->begin(); it != values->end(); ++it, ++index) {
            r.at.element = StepInto(*values, index, it);
            out.push_back(ToInt32(Expect(r, *it, "a number")));
        }
        return;
    }
    if (const json* value = Member(r, entry, single)) out.push_back(ToInt32(Expect(r, *value, "a number")));
}

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

std::string EntryLabel(const Reader& r) { return "mappings" + StepLabel(r.at.entry); }

// A "key" that is not a string, as JSON text.
std::string KeyAsJson(const json& entry) {
    return entry.at("key").dump(-1, ' ', false, json::error_handler_t::replace);
}

EntryReport* StartEntryReport(Reader& r, const json& entry, std::optional<EntryOutcome> skipped) {
    if (r.report == nullptr) return nullptr;
    EntryReport& noted = r.report->entries.emplace_back();
    noted.label = EntryLabel(r);
    noted.outcome = skipped.value_or(EntryOutcome::FailedFile);  // a read entry: until it is read through
    if (noted.outcome == EntryOutcome::SkippedKeyNotText) noted.key_text = KeyAsJson(entry);
    return &noted;
}

// Counts an entry that does nothing; the first one is kept, for the diagnosis.
void NoteIdle(Reader& r, const json& entry, EntryOutcome outcome) {
    if (r.read.idle_count++ != 0) return;
    std::string key_text;
    if (outcome == EntryOutcome::SkippedKeyNotText) key_text = KeyAsJson(entry);
    if (outcome == EntryOutcome::NoCode) key_text = entry.at("key").get<std::string>();
    r.read.first_idle = IdleEntry{EntryLabel(r), outcome, std::move(key_text)};
}

void FinishEntryReport(EntryReport& noted, const json& entry, const Mapping& mapping) {
    noted.outcome = mapping.key != 0 ? EntryOutcome::Stored : EntryOutcome::NoCode;
    noted.key_text = entry.at("key").get<std::string>();
    if (entry.contains("modifier")) noted.modifier_text = entry.at("modifier").get<std::string>();
    if (entry.contains("mode")) noted.mode_text = entry.at("mode").get<std::string>();
    noted.note_ignored = entry.contains("notes") && entry.contains("note");
    noted.cc_number_ignored = entry.contains("cc_numbers") && entry.contains("cc_number");
    noted.mapping = mapping;
}

void ReadEntry(Reader& r, const json& entry) {
    const std::optional<EntryOutcome> skipped = SkipReason(entry);
    EntryReport* noted = StartEntryReport(r, entry, skipped);
    if (skipped) {
        NoteIdle(r, entry, *skipped);
        return;
    }
    Mapping mapping;
    mapping.key = ResolveKeyName(r.key_names, entry.find("key")->get_ref<const std::string&>());
    if (const json* modifier = Member(r, entry, "modifier"))
        mapping.modifier = ResolveKeyName(r.key_names, Text(r, *modifier));
    mapping.velocity = Number(r, entry, "velocity", mapping.velocity);
    mapping.channel = Number(r, entry, "channel", mapping.channel);
    if (const json* enabled = Member(r, entry, "cc_enabled"))
        mapping.cc_enabled = Expect(r, *enabled, "a boolean").get<bool>();
    mapping.cc_value_on = Number(r, entry, "cc_value_on", mapping.cc_value_on);
    mapping.cc_value_off = Number(r, entry, "cc_value_off", mapping.cc_value_off);
    ReadList(r, entry, "notes", "note", mapping.notes);
    ReadList(r, entry, "cc_numbers", "cc_number", mapping.cc_numbers);
    const json* mode = Member(r, entry, "mode");
    mapping.mode = mode != nullptr && Text(r, *mode) == "toggle" ? MappingMode::Toggle : MappingMode::Hold;
    mapping.program = OptionalNumber(r, entry, "program");
    mapping.bank = OptionalNumber(r, entry, "bank");
    mapping.pitch_bend = OptionalNumber(r, entry, "pitch_bend");
    mapping.transpose = OptionalNumber(r, entry, "transpose");
    if (noted != nullptr) FinishEntryReport(*noted, entry, mapping);
    if (mapping.key == 0) {
        NoteIdle(r, entry, EntryOutcome::NoCode);
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

// A value's kind in words: "a string", "an array", "null".
std::string Described(const json& value) {
    if (value.is_null()) return "null";
    return (value.is_structured() ? "an " : "a ") + std::string(value.type_name());
}

// The library's message without its prefix, up to and including `end`.
std::string ParserWords(const std::string& what, const char* end) {
    const std::size_t found = what.find(end);
    return found == std::string::npos ? what : what.substr(found + std::string_view(end).size());
}

// Line and column of the parser's position `byte` (the characters it took,
// counted from 1), counted as the parser counts them: a line ends after '\n',
// and each attempt to read past the end counts as one more character. The
// stream is read again from its start, up to that position.
void NoteSyntaxPosition(LoadFailure& failure, std::istream& in, std::size_t byte) {
    in.clear();
    in.seekg(0);
    std::size_t line = 1, column = 0, taken = 0;
    for (std::istreambuf_iterator<char> it(in), end; taken < byte && it != end; ++it, ++taken) {
        if (*it == '\n') {
            ++line;
            column = 0;
        } else {
            ++column;
        }
    }
    failure.line = line;
    failure.column = column + (byte - taken);
}

void NoteFailure(LoadFailure& failure, const Position& at, const std::exception& error, std::istream& in) {
    if (const auto* syntax = dynamic_cast<const json::parse_error*>(&error)) {
        failure.kind = FileFailure::Syntax;
        failure.detail = ParserWords(syntax->what(), ": ");
        NoteSyntaxPosition(failure, in, syntax->byte);
        return;
    }
    if (dynamic_cast<const json::type_error*>(&error) != nullptr && at.value != nullptr) {
        failure.kind = FileFailure::Type;
        failure.path = PathOf(at);
        failure.detail = Described(*at.value) + " where " + at.expected + " is expected";
        return;
    }
    failure.kind = FileFailure::Other;
    failure.path = PathOf(at);
    failure.detail =
        dynamic_cast<const json::exception*>(&error) != nullptr ? ParserWords(error.what(), "] ") : error.what();
}

// Reads the document into `read`: the device name, the switches, the table,
// and what the diagnosis needs.
void ReadDocument(std::istream& in, const KeyNameTable& key_names, MappingFileRead& read, MappingFileReport* report) {
    json document;
    Reader r{key_names, read, report, {}};  // points into the document, so it ends first
    try {
        in >> document;  // stream extraction: one value; whatever follows it is not read
        if (const json* device = document.is_object() ? Member(r, document, "midi_device") : nullptr) {
            read.midi_device = Text(r, *device);
        }
        if (const json* release = document.is_object() ? Member(r, document, "release_on_change") : nullptr) {
            read.release_on_change = Expect(r, *release, "a boolean").get<bool>();
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
        read.release_on_change = false;
        read.idle_count = 0;
        read.first_idle.reset();
        NoteFailure(read.failure, r.at, error, in);
    }
}

MappingFileRead Refused(FileFailure failure) {
    MappingFileRead refused;
    refused.failure.kind = failure;
    return refused;
}

}  // namespace

MappingFileRead LoadMappingFile(const std::filesystem::path& path, const KeyNameTable& key_names,
                                MappingFileReport* report) {
    if (!IsRegularFile(path)) return Refused(FileFailure::NotReadable);
    std::error_code error;  // a size that cannot be read means the file cannot be read either
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error) return Refused(FileFailure::NotReadable);
    if (size > kMaxMappingFileBytes) return Refused(FileFailure::TooLarge);
    std::ifstream in(path);  // text mode; other programs may keep reading and writing the file
    if (!in.is_open()) {
        MappingFileRead refused = Refused(FileFailure::NotReadable);
        refused.busy = HeldByAnotherProgram(path);
        return refused;
    }
    MappingFileRead read;
    ReadDocument(in, key_names, read, report);
    return read;
}
