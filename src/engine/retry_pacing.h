#pragma once

#include <cstdint>
#include <optional>

// What failed and is tried again (a port whose device went away, a hook
// that did not install, a port not there yet at start-up) is tried at most
// once a second while it fails: each try walks the system's port list or
// installs a hook of the whole desktop, which must not happen for every
// note of a fast passage or every move of the mouse.
struct RetryPacing {
    std::optional<int64_t> last_attempt;  // milliseconds of a steady clock
};

inline constexpr int64_t kRetryIntervalMs = 1000;

// True when a try may be made at `now`: none was made yet, or the last one
// was a second ago or longer.
inline bool RetryIsDue(const RetryPacing& pacing, int64_t now) {
    return !pacing.last_attempt || now - *pacing.last_attempt >= kRetryIntervalMs;
}

// The time from which the next try may be made.
inline int64_t NextRetryAt(const RetryPacing& pacing) {
    return pacing.last_attempt ? *pacing.last_attempt + kRetryIntervalMs : 0;
}

// True when a try may be made at `now`; it then counts as made.
inline bool TakeRetry(RetryPacing& pacing, int64_t now) {
    if (!RetryIsDue(pacing, now)) return false;
    pacing.last_attempt = now;
    return true;
}
