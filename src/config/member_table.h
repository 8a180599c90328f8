#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "engine/mapping.h"

// Every member of a mapping file, described once. The loader reads each
// member through its row; the checker's warnings and reports, the editor
// page's forms, the tests' printer and the user reference all take what
// they say about a member from here. A member is added by adding its row
// (and its field in the model).

// Where a member lives: at the top level of the file, or in an entry of "mappings".
enum class MemberPlace : uint8_t { File, Entry };

// The JSON a member takes and how the loader reads it.
enum class MemberKind : uint8_t {
    Text,     // a string
    Boolean,  // true or false
    Number,   // a number, kept as a 32-bit integer (a fraction is cut toward zero; true and false count as 1 and 0)
    Numbers,  // numbers: a list, or a single value taken as a list of one
    Texts,    // a list of one or more non-empty strings
    Key,      // a key: a name from KeyMapping.cfg or a decimal code, as a string
    Choice,   // one of the row's choices, as a string; any other string takes the default
    Entries,  // the list of mappings
};

struct MemberRange {
    int32_t low;
    int32_t high;
};

// Where the loader stores a member: a field of the entry's Mapping or of
// the file's settings; none for the list of mappings.
using MemberField = std::variant<std::monostate, int32_t Mapping::*, std::optional<int32_t> Mapping::*, bool Mapping::*,
                                 std::vector<int32_t> Mapping::*, MappingMode Mapping::*,
                                 std::optional<std::string> FileSettings::*, bool FileSettings::*,
                                 std::vector<std::wstring> FileSettings::*, std::optional<NamedKey> FileSettings::*>;

struct MemberRow {
    std::string_view name;
    MemberPlace place;
    MemberKind kind;
    MemberField field;
    std::optional<MemberRange> range;           // the values that act as written
    std::string_view default_json;              // the value when absent, as JSON; empty: absent means none
    std::string_view outside;                   // what a value outside the range (or the choices) does
    std::string_view alternative_to;            // the member read instead when both are there
    std::string_view needs;                     // the member without which this one does nothing
    std::span<const std::string_view> choices;  // Choice: the values it takes, the default first
    std::string_view help;                      // one line for the user
};

// The rows of one place, in the order the loader reads them: the first
// member of the wrong type is the one a failed file names.
std::span<const MemberRow> MembersOf(MemberPlace place);

// The row named `name` in `place`; null when there is none.
const MemberRow* FindMember(MemberPlace place, std::string_view name);

// The position of `row` among the rows of its place.
std::size_t MemberIndex(const MemberRow& row);

// Whether `value` lies in the row's range (always, for a row without one).
bool InRange(const MemberRow& row, int32_t value);
