#pragma once

#include <optional>
#include <string>
#include <string_view>

// The layout the editor saves a mapping file in, the samples' own: every
// member of the file on a line of its own, every entry of "mappings" on a
// line of its own, each value on one line. Members keep their order and
// their values, members the program does not know included; a member
// written twice keeps its first place and its last value, as the loader
// reads it.
//
// Nothing when the text is not a JSON object: such a draft is saved as it
// was written.
std::optional<std::string> LayOutMappingText(std::string_view text);
