// The blind time after a removal of the hooks, under Wine:
//   blind_inject.exe QUILLFRET.exe RECORD REMOVALS LABEL DETAILS
// starts Quillfret (its CFG folder holds bench.json, the latency rounds'
// mapping) with the virtual MIDI port "Fenwickloop Bench" recording to
// RECORD, waits until it plays the probe key, then presses a key every
// 100 ms (released 50 ms later, the keys taken in turn) while another thread
// removes every hook of the desktop REMOVALS times, 2.5 s apart, as the
// system removes a hook that missed its time-out. This program runs no hook
// of its own; the keys go to a window of its own with the focus, as to a
// musician's DAW (support/desktop.h). It quits the program, prints the rows
// of the table (latency/blind_time.h), prefixed with LABEL, and writes one
// line per removal to DETAILS.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "latency/blind_time.h"
#include "latency/round_steps.h"
#include "support/desktop.h"
#include "support/hook_removal.h"

namespace {

constexpr double kPressPeriodMs = 100.0;
constexpr double kReleaseAfterMs = 50.0;
constexpr int64_t kFirstRemovalMs = 1000;
constexpr int64_t kRemovalSpacingMs = 2500;
// Each removal lands at another point of the press period.
constexpr int64_t kPhaseStepMs = 37;
constexpr DWORD kSettleMs = 500;

// Removes every hook at its time from `start_ticks` on; the counter time of
// each removal, or 0 when it found no hook.
std::vector<int64_t> RemoveHooksOnSchedule(int64_t start_ticks, int removals) {
    std::vector<int64_t> removed_ticks;
    for (int r = 0; r < removals; ++r) {
        const int64_t due =
            start_ticks +
            MsToTicks(static_cast<double>(kFirstRemovalMs + r * kRemovalSpacingMs + (r * kPhaseStepMs) % 100));
        while (CounterNow() < due) Sleep(1);
        const HookRemoval removal = RemoveEveryHook();
        removed_ticks.push_back(removal.removed > 0 ? removal.first_removed_ticks : 0);
    }
    return removed_ticks;
}

std::vector<ScheduledInput> PressSchedule(int removals, int64_t start_ticks) {
    const int presses = static_cast<int>((kFirstRemovalMs + removals * kRemovalSpacingMs) / kPressPeriodMs);
    return BuildSchedule({.warm_up_pairs = 0,
                          .counted_pairs = presses,
                          .chords = 0,
                          .pair_period_ms = kPressPeriodMs,
                          .release_after_ms = kReleaseAfterMs},
                         start_ticks);
}

void WriteDetails(const std::wstring& path, const std::vector<latency::BlindSpell>& spells) {
    std::ofstream out{std::filesystem::path(path)};
    for (size_t r = 0; r < spells.size(); ++r) {
        const latency::BlindSpell& spell = spells[r];
        char line[256];
        std::snprintf(line, sizeof line,
                      "removal %zu: first press lost %.1f ms after it, blind %.1f ms, %zu presses lost (%zu from "
                      "1.5 s on), %zu sounded twice\n",
                      r + 1, spell.first_lost_ms, spell.blind_ms, spell.lost, spell.lost_late, spell.doubled);
        out << line;
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 6) return Fail("usage: QUILLFRET.exe RECORD REMOVALS LABEL DETAILS");
    const std::wstring program = argv[1], record = argv[2], details = argv[5];
    const int removals = _wtoi(argv[3]);
    const std::wstring wide_label = argv[4];
    if (removals < 1) return Fail("REMOVALS must be a whole number from 1 on");

    latency::InjectLog log{CounterFrequency(), {}};
    std::vector<int64_t> removed_ticks;
    {
        TargetProgram target;
        if (const char* failure = StartUntilReady(target, program, L"QuillfretWindow", record, log))
            return Fail(failure);
        HWND focused = CreateFocusedWindow(L"QuillfretBenchBlindFocus", DefWindowProcW);
        const int64_t start = ScheduleStart();
        std::thread remover([&] { removed_ticks = RemoveHooksOnSchedule(start, removals); });
        RunSchedule(PressSchedule(removals, start), log);
        remover.join();
        Sleep(kSettleMs);
        target.Quit();
        DestroyWindow(focused);
    }
    std::vector<double> removal_seconds;
    for (int64_t ticks : removed_ticks) {
        if (ticks == 0) return Fail("a removal found no hook");
        removal_seconds.push_back(static_cast<double>(ticks) / static_cast<double>(log.ticks_per_second));
    }
    const auto spells =
        latency::BlindSpells(removal_seconds, latency::PressesOf(log), latency::ReadSentMessages(record));
    WriteDetails(details, spells);
    latency::PrintRows(latency::BlindRows(spells, std::string(wide_label.begin(), wide_label.end())));
    return 0;
}
