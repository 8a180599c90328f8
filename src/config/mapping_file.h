#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/key_names.h"
#include "config/member_table.h"
#include "engine/mapping.h"

// A mapping file larger than this (1 MiB) is not read: it is treated like a
// malformed one. Real mapping files are a few kilobytes (the table holds one
// record per trigger code); the limit keeps a stray huge file from holding
// the thread that also answers the input hooks for long (how long a file at
// the limit holds it is measured in docs/reliability.md).
constexpr std::uintmax_t kMaxMappingFileBytes = std::uintmax_t{1024} * 1024;

// What became of one entry of "mappings".
enum class EntryOutcome {
    Stored,             // its key gave a code: stored, replacing any earlier entry for that code
    NoCode,             // read completely, but its key gave 0: nothing stored
    PauseKey,           // read completely, but its key is the file's pause key, never a trigger: nothing stored
    SkippedNotObject,   // not an object (nor null): skipped unread
    SkippedNoKey,       // no "key" (a null entry counts as an object without one): skipped unread
    SkippedKeyNotText,  // "key" is not a string: skipped unread
    FailedFile,         // reading it made the whole file fail
};

// A member an entry has, with the string written for it (for the members
// whose value is a string: keys, choices, texts).
struct MemberWritten {
    const MemberRow* row = nullptr;
    std::string text;
};

// One entry as the loader read it.
struct EntryRead {
    std::string label;  // its place: mappings[3], mappings["a"], or mappings for a single value
    EntryOutcome outcome = EntryOutcome::FailedFile;
    std::string key_text;  // the "key" as written; its JSON text when it is not a string
    // Kept when every entry is read (ReadDetail::EveryEntry):
    std::vector<MemberWritten> members;  // the members it has, in reading order
    Mapping mapping;                     // the record as read (for NoCode: key 0, not stored)
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

// Whether what was read is the file as saved.
enum class ReadStatus {
    Whole,
    Busy,              // it did not open because another program holds it: read it again shortly
    ChangedWhileRead,  // saved again while it was read: read it again
};

// How much of each entry a read keeps: the program needs only the entries
// that do nothing; tools that explain a file want every entry.
enum class ReadDetail { Diagnosis, EveryEntry };

// What reading one mapping file gave: the one record of a read, for the
// program, its balloons and the tools. A file that fails as a whole gives
// an empty table and default settings, but its device name stays when it
// came first.
struct MappingFileRead {
    MappingTable mappings;
    FileSettings settings;
    ReadStatus status = ReadStatus::Whole;
    LoadFailure failure;             // kind None when the file loads
    std::size_t idle_count = 0;      // entries that do nothing
    std::vector<EntryRead> entries;  // EveryEntry: every entry, up to a failure; Diagnosis: the first
                                     // entry that does nothing, unless the file failed
};

// The member `name` as the entry has it; null when it has none (or the read
// did not keep its members).
const MemberWritten* FindWritten(const EntryRead& entry, std::string_view name);

// The first entry that does nothing; null when none does.
const EntryRead* FirstIdle(const MappingFileRead& read);

// Reads the mapping file at `path`, resolving key texts through `key_names`. Never throws.
MappingFileRead ReadMappingFile(const std::filesystem::path& path, const KeyNameTable& key_names,
                                ReadDetail detail = ReadDetail::Diagnosis);

// Reads a mapping file's text held in memory (a draft), exactly as the file
// would be read. Never throws.
MappingFileRead ReadMappingText(std::string_view text, const KeyNameTable& key_names,
                                ReadDetail detail = ReadDetail::Diagnosis);
