#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

// What one trigger does: a trigger code is a virtual-key code or one of the
// mouse trigger codes (253 left, 252 right, 4 middle, 5 and 6 extra buttons,
// 254 wheel away, 255 wheel towards the user). Code 0 means no key.

enum class MappingMode : int32_t {
    Hold = 0,    // press switches on, release switches off
    Toggle = 1,  // each press flips; release does nothing
};

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
    bool toggled_on = false;
};

// One mapping per trigger code; the modifier is a condition inside the record.
using MappingTable = std::unordered_map<int32_t, Mapping>;
