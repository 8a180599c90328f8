#pragma once

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>

#include "check.h"
#include "engine/midi_message.h"

// A packed message in words: "note-on 60 (C4) velocity 100", "program change 5",
// "pitch bend +4096", "pitch bend centre".
std::string MessageText(uint32_t packed);

// The value of a pitch bend message around its centre: -8192 to 8191.
int PitchBendOf(const ShortMessage& message);

// "+12" for 12, "-3" for -3, "0" for 0.
std::string Signed(int value);

// What a transpose key does, in one line: "transpose +12: the notes of every
// mapping switched on afterwards move up 12 semitones; ...".
std::string TransposeText(int32_t change);

// "C4" for note 60.
std::string NoteName(int note);

// A byte count in the largest binary unit it is a whole number of: "1 MiB",
// "512 KiB", "1000 bytes".
std::string SizeText(std::uintmax_t bytes);

// A path as UTF-8 text.
std::string PathText(const std::filesystem::path& path);

// The reason a file fails as a whole, in one line.
std::string FailureText(const MappingFileReport& report);

// The report for a terminal.
void RenderText(const CheckResult& result, std::ostream& out);

// The same report as one JSON document, for editors and scripts.
void RenderJson(const CheckResult& result, std::ostream& out);
