#pragma once

#include <bitset>
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

// The keys whose press the keyboard hook has posted and whose release it has
// not seen yet. Virtual-key codes are one byte, so a fixed bit set covers them
// all and the hook never allocates; a code outside 0..255 is never held.
class HeldKeySet {
public:
    bool contains(int32_t vk) const { return InRange(vk) && keys_.test(static_cast<size_t>(vk)); }
    void insert(int32_t vk) {
        if (InRange(vk)) keys_.set(static_cast<size_t>(vk));
    }
    void erase(int32_t vk) {
        if (InRange(vk)) keys_.reset(static_cast<size_t>(vk));
    }

private:
    static bool InRange(int32_t vk) { return vk >= 0 && vk < 256; }
    std::bitset<256> keys_;
};
