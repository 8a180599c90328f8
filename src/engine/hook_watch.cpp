#include "engine/hook_watch.h"

bool HooksNeedInstalling(bool both_installed, const HookSightings& sightings, RawDevice device, int64_t raw_event_ms,
                         int64_t margin_ms) {
    if (!both_installed) return true;
    const int64_t last_seen_ms = device == RawDevice::Keyboard ? sightings.keyboard_ms : sightings.mouse_ms;
    return raw_event_ms - last_seen_ms > margin_ms;
}
