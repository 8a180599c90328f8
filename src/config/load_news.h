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

// A message about a load: the name of its file, then what is said of it
// ("a.json", then " is not in force:\n" and the reason). The two come apart
// so that a balloon too small for both can shorten the name rather than
// the reason. A reason shows each control character as its escape in a
// mapping file ("\u0000"): a key text may hold any, and a balloon would end
// at a NUL.
struct LoadMessage {
    std::wstring file_name;
    std::wstring about_it;
};

// The message for a `read` of the file named `file_name` (its name, as
// "a.json"), or nothing to say. `gave_up`: the file was retried for as long
// as it is, and could not be read whole.
std::optional<LoadMessage> NewsOfLoad(LoadNews& news, std::wstring_view file_name, const MappingFileRead& read,
                                      const KeyNameTable& key_names, bool gave_up);
