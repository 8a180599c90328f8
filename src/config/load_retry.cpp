#include "config/load_retry.h"

void NoteLoadOutcome(LoadRetry& retry, LoadOutcome outcome, int64_t now) {
    if (outcome != LoadOutcome::ReadAgain) {
        retry = {};
        return;
    }
    if (!retry.first_at) retry.first_at = now;
    const int64_t next = now + kLoadRetryIntervalMs;
    if (next - *retry.first_at > kLoadRetryLimitMs) {
        retry = {};
        return;
    }
    retry.due_at = next;
}

bool LoadRetryDue(const LoadRetry& retry, int64_t now) { return retry.due_at && now >= *retry.due_at; }
