#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "config/mapping_file.h"

// When the CFG folder and the current mapping file are looked at again: one
// schedule for every "read it again". A change seen in the folder loads the
// current file a moment later (an editor may still be writing it); a read
// that did not count (the file held by another program, or saved again
// while it was read) is made again every 100 ms, for at most 10 s from the
// first of them for that file, and then waits for the next change in the
// folder; while
// nothing watches the folder, it is looked for once a second. Times are
// milliseconds of a steady clock; empty: nothing scheduled.
struct ReadSchedule {
    std::optional<int64_t> reload_at;      // a change was seen: the current file is loaded then
    std::optional<int64_t> retry_at;       // the last read did not count: it is made again then
    std::optional<int64_t> retries_since;  // the first read of this run of retries
    std::wstring retried_file;             // the file this run of retries reads
    std::optional<int64_t> look_at;        // nothing watches CFG: the folder is looked for then
};

inline constexpr int64_t kReloadDelayMs = 100;
inline constexpr int64_t kReadRetryIntervalMs = 100;
inline constexpr int64_t kReadRetryLimitMs = 10'000;
inline constexpr int64_t kLookIntervalMs = 1000;

// A change was seen in the folder at `now`.
void ScheduleReload(ReadSchedule& schedule, int64_t now);

// Notes a load of `file` made at `now`: `status` is that of its read,
// nothing when it read nothing. Schedules the next retry, or ends the run of
// retries; true when the run ends because the retries gave up. Another file
// (another one chosen while the first was retried) starts a run of its own.
bool NoteRead(ReadSchedule& schedule, const std::wstring& file, std::optional<ReadStatus> status, int64_t now);

// True when `at` is due at `now`; it is then cleared.
bool TakeDue(std::optional<int64_t>& at, int64_t now);

// The earliest time scheduled; nothing when nothing is.
std::optional<int64_t> NextDeadline(const ReadSchedule& schedule);
