#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/key_names.h"
#include "config/mapping_file.h"
#include "config/member_table.h"

// The key names a check reads a mapping file with.
struct KeyNamesRead {
    std::filesystem::path file;
    bool found = false;  // the file was there to read
    KeyNameTable names;
    std::map<int32_t, std::string> by_code;  // the first name, in name order, of each code
};

KeyNamesRead ReadKeyNames(const std::filesystem::path& file);

// One entry of a mapping file as the program would take it, explained.
struct EntryCheck {
    EntryRead entry;            // as the program's loader read it
    std::string key_name;       // a key name of the trigger code, when it has one
    std::string modifier_name;  // likewise for the modifier
    std::string skip_reason;    // why the entry stores nothing; empty when it is stored
    // Packed MIDI messages, exactly as the engine sends them with no
    // transpose in force. Hold: on press, on release. Toggle: on the first
    // press, on the second press.
    std::vector<uint32_t> switch_on;
    std::vector<uint32_t> switch_off;
    std::vector<std::string> warnings;
};

struct CheckResult {
    std::filesystem::path mapping_file;  // empty for a text that is not a file
    std::filesystem::path key_names_file;
    bool key_names_found = false;
    std::size_t key_name_count = 0;
    std::map<int32_t, std::string> key_names_by_code;  // as KeyNamesRead's
    MappingFileRead read;  // read with every entry, moved into `entries`; it keeps the first that does nothing
    std::vector<EntryCheck> entries;
    std::vector<std::string> file_warnings;  // about the file's own members
    std::size_t warning_count = 0;
    int exit_code = 0;  // 0 all loaded, 1 something skipped or a warning, 2 the file fails or is unreadable
};

// Loads `mapping_file` with the program's own loader, resolving key texts
// with `key_names`, and explains the outcome.
CheckResult CheckMappingFile(const std::filesystem::path& mapping_file, const KeyNamesRead& key_names);

// The same for a mapping file's text held in memory (a draft).
CheckResult CheckMappingText(std::string_view text, const KeyNamesRead& key_names);

// The explanation of a read made with every entry (ReadDetail::EveryEntry)
// with `key_names`.
CheckResult CheckRead(MappingFileRead read, const KeyNamesRead& key_names);

// Entry `index` of such a read, checked as CheckRead checks it among all
// (only the entries for its trigger, which may replace it, are checked with
// it); none when the read failed or has no entry `index`.
std::optional<EntryCheck> CheckOneEntry(const MappingFileRead& read, std::size_t index, const KeyNamesRead& key_names);

// A member's range in words: "0 to 127".
std::string RangeText(const MemberRange& range);
