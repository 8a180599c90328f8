#pragma once

#include <cstdint>
#include <optional>

#include "config/config_loader.h"

// When the current mapping file is read again after a load that asked for it
// (LoadOutcome::ReadAgain): every 100 ms while loads keep asking, for at most
// 10 s from the first of them; then it waits for the next change in the
// folder. Times are milliseconds of a steady clock.
struct LoadRetry {
    std::optional<int64_t> first_at;  // the load that began this run of retries
    std::optional<int64_t> due_at;    // the next retry
};

inline constexpr int64_t kLoadRetryIntervalMs = 100;
inline constexpr int64_t kLoadRetryLimitMs = 10'000;

// Notes the outcome of a load made at `now`: schedules the next retry, or ends the run.
void NoteLoadOutcome(LoadRetry& retry, LoadOutcome outcome, int64_t now);

// True when a retry is scheduled and its time has come.
bool LoadRetryDue(const LoadRetry& retry, int64_t now);
