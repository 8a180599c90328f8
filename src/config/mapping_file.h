#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "config/key_names.h"
#include "engine/mapping.h"

// A mapping file larger than this (1 MiB) is not read: it is treated like a
// malformed one. Real mapping files are a few kilobytes (the table holds one
// record per trigger code); the limit keeps a stray huge file from holding
// the thread that also answers the input hooks: a file of 1 MiB of the
// smallest entries takes about 0.1 s to read under Wine.
constexpr std::uintmax_t kMaxMappingFileBytes = std::uintmax_t{1024} * 1024;

// What became of one entry of "mappings".
enum class EntryOutcome {
    Stored,             // its key gave a code: stored, replacing any earlier entry for that code
    NoCode,             // read completely, but its key gave 0: nothing stored
    SkippedNotObject,   // not an object (nor null): skipped unread
    SkippedNoKey,       // no "key" (a null entry counts as an object without one): skipped unread
    SkippedKeyNotText,  // "key" is not a string: skipped unread
    FailedFile,         // reading it made the whole file fail
};

// One entry as the loader read it. Collected only when a report is asked for.
struct EntryReport {
    std::string label;  // its place: mappings[3], mappings["a"], or mappings for a single value
    EntryOutcome outcome = EntryOutcome::FailedFile;
    std::string key_text;  // SkippedKeyNotText: the "key" value as JSON text
    std::optional<std::string> modifier_text;
    std::optional<std::string> mode_text;
    bool note_ignored = false;       // "note" present, but "notes" is read instead
    bool cc_number_ignored = false;  // "cc_number" present, but "cc_numbers" is read instead
    Mapping mapping;                 // the record as read (for NoCode: key 0, not stored)
};

enum class FileFailure {
    None,
    NotReadable,  // not a regular file, or it does not open
    TooLarge,     // larger than kMaxMappingFileBytes
    Syntax,       // not well-formed JSON, or a string that is not UTF-8
    Type,         // a member of the wrong type: the file fails as a whole
    Other,        // anything else the reading raised (out of memory)
};

// Why a file failed as a whole, where the loader found it.
struct LoadFailure {
    FileFailure kind = FileFailure::None;
    std::string path;        // Type, Other: the member, as in mappings[3].velocity (empty: the top-level value)
    std::string detail;      // Type: "a string where a number is expected"; Syntax, Other: the parser's words
    std::size_t line = 0;    // Syntax: line and column of the last byte read
    std::size_t column = 0;  //   (the text as read in text mode)
};

// An entry that does nothing: skipped, or its key gives no code.
struct IdleEntry {
    std::string label;  // as EntryReport's
    EntryOutcome outcome = EntryOutcome::NoCode;
    std::string key_text;  // as EntryReport's
};

// Every entry as the loader read it, for tools that explain a mapping file.
// The loader itself never needs it.
struct MappingFileReport {
    std::vector<EntryReport> entries;  // in reading order, up to a failure
};

// What reading one mapping file gave. A file that fails as a whole gives an
// empty table and no switches; its device name stays when it came first.
// The loader's own diagnosis comes with it: why the file failed, and which
// entries do nothing (the first of them, and how many).
struct MappingFileRead {
    MappingTable mappings;
    bool release_on_change = false;          // switch off what is on before the file goes out of force
    std::optional<std::string> midi_device;  // UTF-8, as written; also when the file failed after it
    bool busy = false;                       // it did not open because another program holds it: try again shortly
    LoadFailure failure;                     // kind None when the file loads
    std::size_t idle_count = 0;              // entries that do nothing
    std::optional<IdleEntry> first_idle;     // the first of them
};

// Reads the mapping file at `path`, resolving key texts through `key_names`.
// Fills `report` when one is given. Never throws.
MappingFileRead LoadMappingFile(const std::filesystem::path& path, const KeyNameTable& key_names,
                                MappingFileReport* report = nullptr);
