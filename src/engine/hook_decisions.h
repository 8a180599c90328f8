#pragma once

#include <bitset>
#include <cstddef>
#include <cstdint>

#include "engine/trigger_code.h"

// What the low-level hooks post for one raw input event, decided without the
// platform so that the rules are tested natively. The message numbers are the
// Windows ones; the hook procedures pass them through unchanged.

namespace input_message {
constexpr uint32_t KeyDown = 0x0100;
constexpr uint32_t KeyUp = 0x0101;
constexpr uint32_t SysKeyDown = 0x0104;
constexpr uint32_t SysKeyUp = 0x0105;
constexpr uint32_t LeftButtonDown = 0x0201;
constexpr uint32_t LeftButtonUp = 0x0202;
constexpr uint32_t RightButtonDown = 0x0204;
constexpr uint32_t RightButtonUp = 0x0205;
constexpr uint32_t MiddleButtonDown = 0x0207;
constexpr uint32_t MiddleButtonUp = 0x0208;
constexpr uint32_t Wheel = 0x020A;
constexpr uint32_t ExtraButtonDown = 0x020B;
constexpr uint32_t ExtraButtonUp = 0x020C;
}  // namespace input_message

// The keys whose press the keyboard hook has posted and whose release it has
// not seen yet. Virtual-key codes are one byte, so a fixed bit set covers them
// all and the hook never allocates; a code the hooks never produce is never held.
class HeldKeySet {
public:
    bool contains(int32_t vk) const { return IsHookCode(vk) && keys_.test(static_cast<size_t>(vk)); }
    void insert(int32_t vk) {
        if (IsHookCode(vk)) keys_.set(static_cast<size_t>(vk));
    }
    void erase(int32_t vk) {
        if (IsHookCode(vk)) keys_.reset(static_cast<size_t>(vk));
    }

private:
    std::bitset<kLastHookCode + 1> keys_;
};

struct TriggerEvent {
    int32_t code = 0;
    bool down = false;
};

// Up to two trigger events (a wheel notch is a press and a release).
struct TriggerEvents {
    int count = 0;
    TriggerEvent events[2];
};

// A key press is posted once per physical press: the auto-repeated key-downs
// of a held key post nothing. A release is posted for every key-up, and for a
// system key-up of a key whose press was posted (Alt pressed while the key was
// held), so that no posted press is left without its release.
TriggerEvents KeyboardTriggers(HeldKeySet& held_keys, uint32_t message, int32_t vk);

// Mouse buttons and wheel notches; `mouse_data` is the raw field of the hook
// record whose high word carries the wheel delta or the extra-button number.
TriggerEvents MouseTriggers(uint32_t message, uint32_t mouse_data);
