#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

// Key names (byte strings, compared exactly) to trigger codes, read from
// KeyMapping.cfg once at start-up.
using KeyNameTable = std::unordered_map<std::string, int32_t>;

// Clears `key_names` and fills it from the key-name file; a missing or
// unreadable file leaves the table empty. Never throws.
void LoadKeyNames(KeyNameTable& key_names, const std::filesystem::path& key_mapping_path);

// Reads a decimal integer from the start of `text`: an optional sign, then one
// or more digits; reading stops at the first byte that is not a digit. Nothing
// when there is no digit or the number does not fit in 32 bits.
std::optional<int32_t> ParseLeadingDecimal(std::string_view text);

// A decimal text of a code the hooks produce (0..255) is that code; any other
// text is looked up in the table; a text that names nothing gives 0. Never throws.
int32_t ResolveKeyName(const KeyNameTable& key_names, std::string_view text);
