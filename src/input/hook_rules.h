#pragma once

#include <bitset>
#include <cstddef>
#include <cstdint>

#include "engine/retry_pacing.h"
#include "engine/trigger_code.h"

// The rules of the low-level hooks, decided without the platform so that
// they are tested natively: what a hook posts for one input event, and when
// the hooks must be installed again. The message numbers are the Windows
// ones; the hook procedures pass them through unchanged.

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
// not seen yet (and the mouse hook's buttons, by their trigger codes).
// Virtual-key codes are one byte, so a fixed bit set covers them all and the
// hook never allocates; a code the hooks never produce is never held.
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
// Every button press is posted (the buttons do not repeat) and noted in
// `held_buttons` until its release.
TriggerEvents MouseTriggers(HeldKeySet& held_buttons, uint32_t message, uint32_t mouse_data);

// The virtual-key code that asks the system (GetAsyncKeyState) whether the
// mouse button of trigger code `button` is down. The system answers for the
// physical buttons, while the hook's messages name the logical ones: with
// the buttons swapped (set up for the left hand), the logical left button
// is the physical right one. The middle and extra buttons' codes are their
// virtual-key codes.
constexpr int32_t ButtonVirtualKey(int32_t button, bool buttons_swapped) {
    constexpr int32_t kLeftVirtualKey = 1;
    constexpr int32_t kRightVirtualKey = 2;
    if (button == trigger_code::LeftButton) return buttons_swapped ? kRightVirtualKey : kLeftVirtualKey;
    if (button == trigger_code::RightButton) return buttons_swapped ? kLeftVirtualKey : kRightVirtualKey;
    return button;
}

// The releases lost while the hooks were gone, found when they are installed
// again: each key and mouse button whose press was posted and that the
// system shows up now (`key_is_down(vk)`, by virtual-key code) is taken out
// of its set and handed to `let_go(code)`, by trigger code. Such a release
// ends what its press started whatever the modifiers do by then (LetGo,
// engine/mapping_engine.h), and the key's next press is not taken for an
// auto-repeat.
template <typename KeyIsDown, typename LetGo>
void TakeLostReleases(HeldKeySet& held_keys, HeldKeySet& held_buttons, bool buttons_swapped, KeyIsDown&& key_is_down,
                      LetGo&& let_go) {
    for (int32_t code = 0; code <= kLastHookCode; ++code) {
        if (held_keys.contains(code) && !key_is_down(code)) {
            held_keys.erase(code);
            let_go(code);
        }
        if (held_buttons.contains(code) && !key_is_down(ButtonVirtualKey(code, buttons_swapped))) {
            held_buttons.erase(code);
            let_go(code);
        }
    }
}

// When the hooks are gone. The system removes a low-level hook without
// notice when its procedure misses the system's time-out, which a stall of
// the whole machine causes (sleep and resume, paging, a driver); the program
// would then look alive and stay deaf. Raw input of the same two devices is
// the witness: it reaches the program whatever the hooks do. The hook of an
// event runs before that event's raw input is dispatched (both on the
// program's one thread), so in normal running a hook has always seen its
// device a moment before its raw input arrives.

// The devices whose raw input the program hears.
enum class RawDevice : uint8_t { Keyboard, Mouse };

// When each hook last saw an event of its device (any event, posted or
// not), or was installed, whichever came later; milliseconds of one
// monotonic clock.
struct HookSightings {
    int64_t keyboard_ms = 0;
    int64_t mouse_ms = 0;
};

// How long a hook may have seen nothing of its device when that device's
// raw input arrives. Only the program's own thread can come between a hook
// call and the dispatch of its event's raw input, and it never holds for
// long (the longest hold, a reload of a file at the size limit, is measured
// in docs/reliability.md). A hold longer than the margin is longer than the
// system's own time-out for a low-level hook (LowLevelHooksTimeout, 300 ms
// by default), after which Windows removes a hook that input waited for:
// installing the hooks again is then the right answer, and harmless where
// they survived.
inline constexpr int64_t kHookSilenceMarginMs = 300;

// Whether the hooks must be installed again when raw input of `device`
// arrives at `raw_event_ms`: when that device's hook saw nothing for longer
// than `margin_ms` before it (the system removed it), or when not both are
// installed and the last install (`installs`, each install counts) was a
// second ago or longer: an install that failed is tried again, but not at
// every event of a moving mouse. The other device's hook does not count: it
// sees nothing while only one device is used.
bool HooksNeedInstalling(bool both_installed, const HookSightings& sightings, const RetryPacing& installs,
                         RawDevice device, int64_t raw_event_ms, int64_t margin_ms = kHookSilenceMarginMs);
