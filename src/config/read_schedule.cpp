#include "config/read_schedule.h"

#include <initializer_list>

void ScheduleReload(ReadSchedule& schedule, int64_t now) { schedule.reload_at = now + kReloadDelayMs; }

bool NoteRead(ReadSchedule& schedule, const std::wstring& file, std::optional<ReadStatus> status, int64_t now) {
    const bool again = status && *status != ReadStatus::Whole;
    if (!again) {
        schedule.retry_at.reset();
        schedule.retries_since.reset();
        return false;
    }
    if (!schedule.retries_since || schedule.retried_file != file) {
        schedule.retries_since = now;
        schedule.retried_file = file;
    }
    const int64_t next = now + kReadRetryIntervalMs;
    if (next - *schedule.retries_since > kReadRetryLimitMs) {
        schedule.retry_at.reset();
        schedule.retries_since.reset();
        return true;
    }
    schedule.retry_at = next;
    return false;
}

bool TakeDue(std::optional<int64_t>& at, int64_t now) {
    if (!at || now < *at) return false;
    at.reset();
    return true;
}

std::optional<int64_t> NextDeadline(const ReadSchedule& schedule) {
    std::optional<int64_t> earliest;
    for (const std::optional<int64_t>& at : {schedule.reload_at, schedule.retry_at, schedule.look_at}) {
        if (at && (!earliest || *at < *earliest)) earliest = at;
    }
    return earliest;
}
