#pragma once

#include <cstdint>
#include <string>

#include "engine/midi_message.h"

// MIDI messages in words, for the checker's reports and for the record
// printer of the tests' virtual port.

// A packed message in words: "note-on 60 (C4) velocity 100", "program change 5",
// "pitch bend +4096", "pitch bend centre".
std::string MessageText(uint32_t packed);

// The value of a pitch bend message around its centre: -8192 to 8191.
int PitchBendOf(const ShortMessage& message);

// "+12" for 12, "-3" for -3, "0" for 0.
std::string Signed(int value);

// "C4" for note 60.
std::string NoteName(int note);
