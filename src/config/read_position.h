#pragma once

#include <cstddef>
#include <exception>
#include <istream>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "config/mapping_file.h"

// Where the mapping-file reader is in a document, and the failure it names
// from there.

// One step into a container: an array element by index, an object member by
// name, or (for a single value read as a one-element list) the value itself.
struct Step {
    const nlohmann::json* container = nullptr;
    std::size_t index = 0;
    const std::string* name = nullptr;
};

// Where the reader is. Kept up to date with plain stores as it goes, so that
// a failure can name the member that caused it without slowing the load.
struct Position {
    Step entry;                             // the entry of "mappings" (container null: not in one)
    std::string_view member;                // the member being read, of the entry or the top level
    Step element;                           // the element of a list member
    const nlohmann::json* value = nullptr;  // the value being converted
    std::string_view expected;              // what the conversion expects, as "a number"
};

// The step to element `index` of `container`, at `it`.
Step StepInto(const nlohmann::json& container, std::size_t index, const nlohmann::json::const_iterator& it);

// A step in a path: "[3]", "[\"a\"]"; nothing for a single value read as a list.
std::string StepLabel(const Step& step);

// The member the reader is at, as "mappings[3].velocity" or "midi_device".
std::string PathOf(const Position& at);

// A value of the right type that is empty where something is expected (an
// empty list of program names, an empty name): a type error all the same.
struct EmptyValue : std::exception {};

// Notes why reading failed where the reader is: a syntax error with its line
// and column (the stream `in` is read again from its start to count them),
// a member of the wrong type by its place, or anything else the reading raised.
void NoteFailure(LoadFailure& failure, const Position& at, const std::exception& error, std::istream& in);
