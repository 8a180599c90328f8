#include "config/key_names.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <new>

#include "config/path_presence.h"
#include "engine/trigger_code.h"

namespace {

// The six ASCII white-space bytes; bytes of 0x80 and above never count.
bool IsWhiteSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

std::string WithoutWhiteSpace(std::string_view text) {
    std::string kept;
    std::copy_if(text.begin(), text.end(), std::back_inserter(kept), [](char c) { return !IsWhiteSpace(c); });
    return kept;
}

// One line of the key-name file: "name = value", "#" starting a comment.
void ReadKeyNameLine(KeyNameTable& key_names, std::string_view line) {
    line = line.substr(0, line.find('#'));
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) return;
    const std::optional<int32_t> code = ParseLeadingDecimal(WithoutWhiteSpace(line.substr(equals + 1)));
    if (!code) return;
    key_names[WithoutWhiteSpace(line.substr(0, equals))] = *code;
}

}  // namespace

std::optional<int32_t> ParseLeadingDecimal(std::string_view text) {
    size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';

    const int64_t limit = negative ? -int64_t{INT32_MIN} : INT32_MAX;
    int64_t magnitude = 0;
    const size_t first_digit = pos;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        magnitude = magnitude * 10 + (text[pos] - '0');
        if (magnitude > limit) return std::nullopt;
    }
    if (pos == first_digit) return std::nullopt;
    return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

void LoadKeyNames(KeyNameTable& key_names, const std::filesystem::path& key_mapping_path) {
    key_names.clear();
    if (!IsRegularFile(key_mapping_path)) return;
    std::ifstream file(key_mapping_path);  // text mode: CR LF arrives as LF
    std::string line;
    while (std::getline(file, line)) {
        try {
            ReadKeyNameLine(key_names, line);
        } catch (const std::bad_alloc&) {
            // Out of memory storing one name: that line is dropped, the rest still count.
        }
    }
}

int32_t ResolveKeyName(const KeyNameTable& key_names, std::string_view text) {
    const size_t start = std::min(text.size(), text.find_first_not_of(" \t\n\v\f\r"));
    const std::optional<int32_t> code = ParseLeadingDecimal(text.substr(start));
    if (code && IsHookCode(*code)) return *code;
    const auto named = key_names.find(std::string(text));
    return named == key_names.end() ? 0 : named->second;
}
