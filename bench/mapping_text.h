#pragma once

#include <string>

#include "config/key_names.h"

// The text of a mapping file of `entries` entries, each naming its key
// through `names` (which receives the names) like a user's file, with
// chords, controllers and the other members. 5,000 of these entries, about
// 0.95 MB, are the most that fit under the loader's 1 MiB limit.
std::string MappingFileText(int entries, KeyNameTable& names);
