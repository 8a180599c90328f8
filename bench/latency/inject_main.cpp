// One round of the end-to-end latency measurement, under Wine:
//   latency_inject.exe PROGRAM.exe WINDOW_CLASS RECORD LOG [STORM_FILE]
// starts PROGRAM.exe with one virtual MIDI port "Fenwickloop Bench" whose
// record is RECORD, waits until the program turns a probe key into a
// message, sends the schedule of input_schedule.h (rewriting STORM_FILE
// every 50 ms meanwhile, when given), waits for the messages, quits the
// program and writes its own log to LOG. latency_report pairs the two.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "latency/input_schedule.h"
#include "latency/latency_log.h"
#include "latency/reload_storm.h"
#include "latency/round_steps.h"
#include "latency/target_program.h"

namespace {

constexpr DWORD kWindowTimeoutMs = 10000;
// After the probe's note: time for its release to arrive too.
constexpr DWORD kSettleMs = 50;
// From building the schedule to its first event.
constexpr int64_t kScheduleLeadDivisor = 50;  // a fiftieth of a second

int Fail(const char* what) {
    std::fprintf(stderr, "latency_inject: %s\n", what);
    return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 5 && argc != 6) return Fail("usage: PROGRAM.exe WINDOW_CLASS RECORD LOG [STORM_FILE]");
    const std::wstring program = argv[1], window_class = argv[2], record = argv[3], log_path = argv[4];
    DeleteFileW(record.c_str());

    TargetProgram target;
    if (!target.Start(program, record)) return Fail("the program did not start");
    if (!target.WaitForWindow(window_class.c_str(), kWindowTimeoutMs)) return Fail("no window of the program");
    latency::InjectLog log{CounterFrequency(), {}};
    if (!ProbeUntilReady(record, log)) return Fail("the program sent nothing for the probe key");
    Sleep(kSettleMs);

    std::unique_ptr<ReloadStorm> storm;
    if (argc == 6) {
        storm = std::make_unique<ReloadStorm>(argv[5]);
        if (!storm->read_ok()) return Fail("the storm file could not be read");
    }
    const size_t before = CountSent(record);
    const auto schedule = BuildSchedule(ScheduleShape{}, CounterNow() + CounterFrequency() / kScheduleLeadDivisor);
    RunSchedule(schedule, log);
    WaitForArrivals(record, before + MessageCount(schedule));
    const int rewrites = storm ? storm->rewrites() : 0;
    storm.reset();
    const DWORD exit_code = target.Quit();

    if (!WriteLog(log_path, log)) return Fail("the log could not be written");
    std::printf("%zu events, %zu messages recorded, %d rewrites, exit code %lu\n", log.events.size(), CountSent(record),
                rewrites, exit_code);
    return 0;
}
