#pragma once

#include <nlohmann/json.hpp>
#include <string_view>

#include "config/key_names.h"
#include "config/mapping_file.h"
#include "config/member_table.h"
#include "config/read_position.h"

// Reading the members of a mapping file through the member table: each
// value taken as its row says, the reader's position kept up to date for a
// failure to name.

struct Reader {
    const KeyNameTable& key_names;
    ReadDetail detail;
    MappingFileRead& read;
    Position at;
};

// The member `name` of `object`, the reader's position moved to it; null
// when the object has none.
const nlohmann::json* Member(Reader& r, const nlohmann::json& object, std::string_view name);

// `value`, noted as the value being converted, expected to be `expected`
// ("a number"): a conversion that fails says so.
const nlohmann::json& Expect(Reader& r, const nlohmann::json& value, std::string_view expected);

// One member of an entry into `mapping`, when the entry has it; `noted`,
// when given, receives the member and the string written for it. A member
// with an alternative that the entry also has is not read (the alternative is).
void ReadEntryMember(Reader& r, const nlohmann::json& entry, const MemberRow& row, Mapping& mapping, EntryRead* noted);

// One of the file's own members into `settings`, when the document has it.
void ReadFileMember(Reader& r, const nlohmann::json& document, const MemberRow& row, FileSettings& settings);
