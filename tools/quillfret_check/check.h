#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "config/mapping_file.h"

// One entry of a mapping file as the program would take it, explained.
struct EntryCheck {
    EntryReport entry;          // as the program's loader read it
    std::string key_name;       // a key name of the trigger code, when it has one
    std::string modifier_name;  // likewise for the modifier
    std::string skip_reason;    // why the entry stores nothing; empty when it is stored
    // Packed MIDI messages, exactly as the engine would send them with no
    // transpose in force. Hold: on press, on release. Toggle: on the first
    // press, on the second press.
    std::vector<uint32_t> switch_on;
    std::vector<uint32_t> switch_off;
    std::vector<std::string> warnings;
};

struct CheckResult {
    std::filesystem::path mapping_file;
    std::filesystem::path key_names_file;
    bool key_names_found = false;
    std::size_t key_name_count = 0;
    MappingFileReport report;                // the loader's own account of each entry
    LoadFailure failure;                     // why the file fails as a whole; kind None when it loads
    std::optional<std::string> midi_device;  // taken even when the file fails afterwards
    bool release_on_change = false;          // everything on is switched off before the file goes out of force
    std::size_t loaded_count = 0;            // mappings in force after the load
    std::vector<EntryCheck> entries;
    std::size_t warning_count = 0;
    int exit_code = 0;  // 0 all loaded, 1 something skipped or a warning, 2 the file fails or is unreadable
};

// The first name, in name order, that the key names give each code.
std::map<int32_t, std::string> NamesByCode(const KeyNameTable& names);

// Loads `mapping_file` with the program's own loader, resolving key texts with
// the names of `key_names_file`, and explains the outcome.
CheckResult CheckMappingFile(const std::filesystem::path& mapping_file, const std::filesystem::path& key_names_file);
