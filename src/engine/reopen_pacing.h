#pragma once

#include <cstdint>
#include <optional>

// A port whose device went away is looked for again on a later send, at most
// once a second while that fails: each attempt walks the system's port list,
// which must not happen for every note of a fast passage.
struct ReopenPacing {
    std::optional<int64_t> last_attempt;  // milliseconds of a steady clock
};

inline constexpr int64_t kReopenIntervalMs = 1000;

// True when an attempt may be made at `now`; it then counts as made.
inline bool TakeReopenAttempt(ReopenPacing& pacing, int64_t now) {
    if (pacing.last_attempt && now - *pacing.last_attempt < kReopenIntervalMs) return false;
    pacing.last_attempt = now;
    return true;
}
