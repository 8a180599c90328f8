#pragma once

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>

#include "check.h"
#include "message_words.h"

// What a transpose key does, in one line: "transpose +12: the notes of every
// mapping switched on afterwards move up 12 semitones; ...".
std::string TransposeText(int32_t change);

// A path as UTF-8 text.
std::string PathText(const std::filesystem::path& path);

// The report for a terminal.
void RenderText(const CheckResult& result, std::ostream& out);

// The same report as one JSON document, for editors and scripts.
void RenderJson(const CheckResult& result, std::ostream& out);
