#pragma once

#include <string>
#include <vector>

#include "latency/input_schedule.h"
#include "latency/latency_log.h"

// Steps every measured round takes, whatever it sends.

// Presses and releases the probe key until its note-on is in `record`: then
// the program's hook is in place and its port open. The probes are logged,
// uncounted, so that their messages are paired and passed over. False when
// nothing came within a few seconds.
bool ProbeUntilReady(const std::wstring& record, latency::InjectLog& log);

// The accepted sends in `record` so far.
size_t CountSent(const std::wstring& record);

// The messages the events of `schedule` must produce.
size_t MessageCount(const std::vector<ScheduledInput>& schedule);

// Waits until `record` holds `expected` sends, or a few seconds have passed.
void WaitForArrivals(const std::wstring& record, size_t expected);

bool WriteLog(const std::wstring& path, const latency::InjectLog& log);
