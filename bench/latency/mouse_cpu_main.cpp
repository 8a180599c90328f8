// The CPU time a moving mouse costs, under Wine:
//   mouse_cpu_inject.exe QUILLFRET.exe POSTED_FLOOR.exe RECORD_FOLDER ROUNDS LABEL
// Every move of the mouse brings Quillfret its low-level mouse hook's call
// and a raw input event (the hooks' watch, src/input/hook_witness.h); the
// posted floor has the low-level hooks alone. ROUNDS times each, the two
// programs in turn, this starts one (its CFG folder holds bench.json, the
// latency rounds' mapping) with the virtual MIDI port recording into
// RECORD_FOLDER, waits until it plays the probe key, moves the mouse 1,000
// times a second for 10 s (one pixel right and back, with SendInput, into a
// window of this program that has the focus: Wine gives raw input only
// while a window is in front), and reads the program's CPU time, kernel and
// user, before and after (GetProcessTimes). Prints the row of the table:
// the median over Quillfret's rounds against the posted floor's, prefixed
// with LABEL; one line per round to standard error.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "latency/counter.h"
#include "latency/latency_table.h"
#include "latency/round_steps.h"
#include "support/desktop.h"

namespace {

constexpr int kMovesPerSecond = 1000;
constexpr int kSeconds = 10;

struct Measured {
    const wchar_t* name;
    std::wstring exe;
    const wchar_t* window_class;
    std::vector<double> cpu_ms;
};

double CpuMs(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
    auto ticks = [](const FILETIME& time) {
        return static_cast<double>(static_cast<uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime);
    };
    return (ticks(kernel) + ticks(user)) / 10'000.0;
}

void Move(int dx) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = 0;
    input.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &input, sizeof(input));
}

// Moves the mouse on schedule, catching up when a move came late; the
// seconds it took. The window in front is served meanwhile.
double MoveForTenSeconds() {
    const int64_t start = CounterNow();
    const int64_t period = MsToTicks(1000.0 / kMovesPerSecond);
    for (int move = 0; move < kMovesPerSecond * kSeconds; ++move) {
        const int64_t due = start + move * period;
        while (CounterNow() < due) YieldProcessor();
        Move(move % 2 == 0 ? 1 : -1);
        PumpMessages();
    }
    return static_cast<double>(CounterNow() - start) / static_cast<double>(CounterFrequency());
}

// One round: the program's CPU time over the moves, or a failure.
const char* MeasureRound(Measured& program, const std::wstring& record) {
    TargetProgram target;
    latency::InjectLog log{CounterFrequency(), {}};
    if (const char* failure = StartUntilReady(target, program.exe, program.window_class, record, log)) return failure;
    // After the program's start, which may take the front.
    HWND focused = CreateFocusedWindow(L"QuillfretBenchMouseFocus", DefWindowProcW);
    const double before = CpuMs(target.process());
    const double seconds = MoveForTenSeconds();
    const double after = CpuMs(target.process());
    target.Quit();
    DestroyWindow(focused);
    program.cpu_ms.push_back(after - before);
    std::fwprintf(stderr, L"%ls: %.1f ms of CPU for %d moves in %.2f s\n", program.name, after - before,
                  kMovesPerSecond * kSeconds, seconds);
    return nullptr;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 6) return Fail("usage: QUILLFRET.exe POSTED_FLOOR.exe RECORD_FOLDER ROUNDS LABEL");
    const int rounds = _wtoi(argv[4]);
    if (rounds < 1) return Fail("ROUNDS must be a whole number from 1 on");
    Measured quillfret{L"quillfret", argv[1], L"QuillfretWindow", {}};
    Measured posted{L"posted", argv[2], L"QuillfretBenchFloor", {}};
    const std::wstring folder = argv[3];
    for (int round = 0; round < rounds; ++round) {
        for (Measured* program : {&quillfret, &posted}) {
            const std::wstring record = folder + L"\\mouse-" + program->name + L".record";
            if (const char* failure = MeasureRound(*program, record)) return Fail(failure);
        }
    }
    const std::wstring wide_label = argv[5];
    const std::string label(wide_label.begin(), wide_label.end());
    latency::PrintRows({latency::Compare(label + " mouse moving 1000/s for 10 s, CPU time, Quillfret / posted floor",
                                         Median(quillfret.cpu_ms), Median(posted.cpu_ms), "%.1f ms")});
    return 0;
}
