// One round of the end-to-end latency measurement, under Wine:
//   latency_inject.exe PROGRAM.exe WINDOW_CLASS RECORD LOG [STORM_FILE | --in-front]
// starts PROGRAM.exe with one virtual MIDI port "Fenwickloop Bench" whose
// record is RECORD, waits until the program turns a probe key into a
// message, sends the schedule of input_schedule.h (rewriting STORM_FILE
// every 50 ms meanwhile, when given), waits for the messages, quits the
// program and writes its own log to LOG. latency_report pairs the two.
// With --in-front a window of the injector is in front throughout: the
// program in front for a mapping file that plays only in it.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "latency/reload_storm.h"
#include "latency/round_steps.h"
#include "support/desktop.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 5 && argc != 6) return Fail("usage: PROGRAM.exe WINDOW_CLASS RECORD LOG [STORM_FILE | --in-front]");
    const std::wstring program = argv[1], window_class = argv[2], record = argv[3], log_path = argv[4];
    const bool in_front = argc == 6 && std::wstring(argv[5]) == L"--in-front";
    if (in_front) CreateFocusedWindow(L"QuillfretBenchInFront", DefWindowProcW);

    TargetProgram target;
    latency::InjectLog log{CounterFrequency(), {}};
    if (const char* failure = StartUntilReady(target, program, window_class.c_str(), record, log)) return Fail(failure);

    std::unique_ptr<ReloadStorm> storm;
    if (argc == 6 && !in_front) {
        storm = std::make_unique<ReloadStorm>(argv[5]);
        if (!storm->read_ok()) return Fail("the storm file could not be read");
    }
    PlayRound(record, ScheduleShape{}, log);
    const int rewrites = storm ? storm->rewrites() : 0;
    storm.reset();
    const DWORD exit_code = target.Quit();

    if (!WriteLog(log_path, log)) return Fail("the log could not be written");
    std::printf("%zu events, %zu messages recorded, %d rewrites, exit code %lu\n", log.events.size(), CountSent(record),
                rewrites, exit_code);
    return 0;
}
