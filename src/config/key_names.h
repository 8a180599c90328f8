#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>

// Key names (byte strings, compared exactly) to trigger codes, read from
// KeyMapping.cfg once at start-up.
using KeyNameTable = std::unordered_map<std::string, int32_t>;

// Clears `key_names` and fills it from the key-name file; a missing or
// unreadable file leaves the table empty. Never throws.
void LoadKeyNames(KeyNameTable& key_names, const std::filesystem::path& key_mapping_path);

// A decimal text of a code the hooks produce (0..255) is that code; any other
// text is looked up in the table; a text that names nothing gives 0. Never throws.
int32_t ResolveKeyName(const KeyNameTable& key_names, std::string_view text);
