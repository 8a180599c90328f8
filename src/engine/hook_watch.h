#pragma once

#include <cstdint>

// When the hooks are gone. The system removes a low-level hook without
// notice when its procedure misses the system's time-out, which a stall of
// the whole machine causes (sleep and resume, paging, a driver); the program
// would then look alive and stay deaf. Raw input of the same two devices is
// the witness: it reaches the program whatever the hooks do. The hook of an
// event runs before that event's raw input is dispatched (both on the
// program's one thread), so in normal running a hook has always seen its
// device a moment before its raw input arrives. Decided here without the
// platform, so that the rule is tested natively.

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
// long: the longest, a reload of a mapping file at the 1 MiB limit, takes
// about 0.1 s under Wine. A hold longer than the margin is longer than the
// system's own time-out for a low-level hook (LowLevelHooksTimeout, 300 ms
// by default), after which Windows removes a hook that input waited for:
// installing the hooks again is then the right answer, and harmless where
// they survived. The blind time after a removal is about the margin, well
// within the 1.5 s after which every press must sound again.
inline constexpr int64_t kHookSilenceMarginMs = 300;

// Whether the hooks must be installed again when raw input of `device`
// arrives at `raw_event_ms`: when not both are installed (an install that
// failed is tried again), or when that device's hook saw nothing for longer
// than `margin_ms` before it (the system removed it). The other device's
// hook does not count: it sees nothing while only one device is used.
bool HooksNeedInstalling(bool both_installed, const HookSightings& sightings, RawDevice device, int64_t raw_event_ms,
                         int64_t margin_ms = kHookSilenceMarginMs);
