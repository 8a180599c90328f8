#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "check.h"

// The check of a draft as the page shows it while the musician types,
// written straight from the loader's read (every entry kept), with no more
// work per entry than the picture needs: its trigger code and modifier as
// written, hold or toggle, what it does most ("notes", "controllers",
// "program", "bend", "transpose", "nothing"), a short label (its notes by
// name, else the first message it sends), or why it does nothing in the
// balloon's words. The file-level members are the checker's report's
// (loads, failure, mapping count, the file's settings); `news` is the
// balloon the program would show. `check_id` names the read, whose entries
// the page asks about one by one (EntryDetailsJson).
std::string PageCheckJson(const MappingFileRead& read, const KeyNamesRead& key_names,
                          const std::optional<std::string>& news, uint64_t check_id);

// One entry explained whole, as the form shows it, in the checker's words:
// what each press and release sends, its warnings, or why it stores
// nothing.
nlohmann::json EntryDetailsJson(const EntryCheck& check);
