#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/trigger_code.h"

// What one trigger does: a trigger code is a virtual-key code or one of the
// mouse trigger codes (253 left, 252 right, 4 middle, 5 and 6 extra buttons,
// 254 wheel away, 255 wheel towards the user). Code 0 means no key.

enum class MappingMode : int32_t {
    Hold = 0,    // press switches on, release switches off
    Toggle = 1,  // each press flips; release does nothing
};

// One entry of a mapping file as loaded: what the file says, never written
// while playing (what is playing lives in the Player, engine/player.h).
struct Mapping {
    int32_t key = 0;
    int32_t modifier = 0;  // a key that must be held for the mapping to act; 0 = none
    std::vector<int32_t> notes;
    std::vector<int32_t> cc_numbers;
    int32_t velocity = 100;
    int32_t channel = 1;  // counted from 1
    bool cc_enabled = false;
    int32_t cc_value_on = 127;
    int32_t cc_value_off = 0;
    MappingMode mode = MappingMode::Hold;
    // Optional members: absent, the mapping sends only notes and controllers.
    std::optional<int32_t> program;     // program change at switch-on
    std::optional<int32_t> bank;        // bank select before the program change; counts only with `program`
    std::optional<int32_t> pitch_bend;  // around the centre at switch-on; the centre at switch-off
    std::optional<int32_t> transpose;   // a transpose key: added to the transpose in force at switch-on; 0 resets it
};

// One mapping per trigger code; the modifier is a condition inside the record.
using MappingTable = std::unordered_map<int32_t, Mapping>;

// A key as a file names it: the text written and the code it gives (0: no key).
struct NamedKey {
    std::string text;
    int32_t code = 0;
};

// What a mapping file says as a whole, beside its table.
struct FileSettings {
    std::optional<std::string> midi_device;  // the port's name fragment, UTF-8 as written
    bool release_on_change = false;          // switch off what is on before the file goes out of force
    std::vector<std::wstring> only_in;       // the programs it plays in (file names, wide); empty: everywhere
    std::optional<NamedKey> pause_key;       // the key that pauses and plays again; never a trigger
};

// The transpose in force never leaves -kTransposeLimit..kTransposeLimit semitones.
constexpr int32_t kTransposeLimit = 48;
