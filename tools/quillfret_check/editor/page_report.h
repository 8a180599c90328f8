#pragma once

#include <optional>
#include <string>

#include "check.h"

// The check of a draft as the page shows it, one JSON document written
// straight from the checker's result: the file-level part of the checker's
// own report (loads, failure, counts, the file's settings), and for each
// entry what the picture and the form show, in the checker's words: its
// trigger and modifier, what it does most ("notes", "controllers",
// "program", "bend", "transpose", "nothing"), a short label (its notes by
// name), what each press and release sends, its warnings or why it does
// nothing. `news` is the balloon the program would show, if any.
std::string PageReportJson(CheckResult& result, const std::optional<std::string>& news);
