#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "check.h"
#include "message_words.h"

// What a transpose key does, in one line: "transpose +12: the notes of every
// mapping switched on afterwards move up 12 semitones; ...".
std::string TransposeText(int32_t change);

// The messages of one press or release in words, "nothing" for none; a bank
// select is said with its program change, and a transpose key's change
// (`transpose`) comes first, as the engine makes it first.
std::string MessagesText(const std::vector<uint32_t>& messages, std::optional<int32_t> transpose = std::nullopt);

// A path as UTF-8 text.
std::string PathText(const std::filesystem::path& path);

// The report for a terminal.
void RenderText(const CheckResult& result, std::ostream& out);

// The same report as one JSON document, for editors and scripts.
nlohmann::json ReportJson(const CheckResult& result);
// Its members that the read alone gives: whether the file loads, its
// failure, the count of mappings and the file's own members, whose keys
// `key_names` names.
nlohmann::json FileReadJson(const MappingFileRead& read, const std::map<int32_t, std::string>& key_names);
void RenderJson(const CheckResult& result, std::ostream& out);

// Every member of a mapping file as the member table describes it: name,
// kind, range, default, what a value outside the range does, the member it
// is an alternative to, the member it needs, the choices, one line of help.
nlohmann::json MemberTableJson();
