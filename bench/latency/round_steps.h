#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "latency/input_schedule.h"
#include "latency/latency_log.h"
#include "latency/target_program.h"

// Steps every measured round takes, whatever it sends.

// Starts `exe` with a new record at `record`, waits for its window of
// `window_class`, then presses and releases the probe key until its
// note-on is in the record (the program's hook is in place and its port
// open) and lets the last release arrive. The probes are logged, uncounted,
// so that their messages are paired and passed over. Null when the program
// is ready; otherwise what went wrong.
const char* StartUntilReady(TargetProgram& target, const std::wstring& exe, const wchar_t* window_class,
                            const std::wstring& record, latency::InjectLog& log);

// Sends a schedule of `shape` from now on, doing `step` (when given) just
// before its event `step_at`, then waits a few seconds at most for the
// messages the schedule must produce. Returns the number of sends `record`
// must then hold.
size_t PlayRound(const std::wstring& record, const ScheduleShape& shape, latency::InjectLog& log,
                 const std::function<void()>& step = {}, size_t step_at = 0);

// The accepted sends in `record` so far.
size_t CountSent(const std::wstring& record);

bool WriteLog(const std::wstring& path, const latency::InjectLog& log);

// Prints "<this program's name>: `what`" to standard error; returns the
// exit code of a failed round, 1.
int Fail(const char* what);
