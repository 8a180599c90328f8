#pragma once

#include <cstdint>
#include <string>

#include "config/key_names.h"
#include "config/mapping_file.h"

// The loader's diagnosis in words: what quillfret-check prints and what the
// program's balloons say, from one source.

// Why a file fails as a whole, in one line: "syntax error at line 3, column
// 5: ...", "mappings[1].velocity: a string where a number is expected", "the
// file is larger than 1 MiB".
std::string FailureWords(const LoadFailure& failure);

// Why an entry does nothing, quoting its key text: "\"Kazoo\" is not a key
// name", "no \"key\": skipped". `names` are the key names it was read with.
std::string IdleWords(const EntryRead& entry, const KeyNameTable& names);

// A byte count in the largest binary unit it is a whole number of: "1 MiB",
// "512 KiB", "1000 bytes".
std::string SizeText(std::uintmax_t bytes);
