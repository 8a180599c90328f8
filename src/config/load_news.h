#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "config/key_names.h"
#include "config/mapping_file.h"

// What the user is told about the loads of the current mapping file: a file
// that is not in force, or has entries that do nothing, says why in one
// message; after such a message, the next clean load says that its file is
// in force. Anything else (a clean start, save or choice; a file being
// retried while another program holds it) says nothing.

struct LoadNews {
    bool told_trouble = false;  // the last message was about a file not wholly in force
};

// The message for a `read` of the file named `file_name` (its name, as
// "a.json"), or nothing to say. `gave_up`: the file was retried for as long
// as it is, and could not be read whole.
std::optional<std::wstring> NewsOfLoad(LoadNews& news, std::wstring_view file_name, const MappingFileRead& read,
                                       const KeyNameTable& key_names, bool gave_up);
