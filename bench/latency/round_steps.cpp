#include "latency/round_steps.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <span>
#include <vector>

#include "latency/bench_keymap.h"

namespace {

constexpr DWORD kWindowTimeoutMs = 10000;
constexpr ULONGLONG kReadyTimeoutMs = 5000;
constexpr DWORD kProbePeriodMs = 20;
// After the probe's note: time for its release to arrive too.
constexpr DWORD kSettleMs = 50;
constexpr ULONGLONG kArrivalTimeoutMs = 3000;

bool ProbeSeen(const std::wstring& record) {
    for (const auto& sent : latency::ReadSentMessages(record)) {
        if (sent.message == bench_keymap::NoteOn(bench_keymap::kProbeKey.note)) return true;
    }
    return false;
}

bool ProbeUntilReady(const std::wstring& record, latency::InjectLog& log) {
    const auto& probe = bench_keymap::kProbeKey;
    const ULONGLONG deadline = GetTickCount64() + kReadyTimeoutMs;
    while (GetTickCount64() < deadline) {
        SendLogged(KeyEvent(probe.vk, probe.note, true, false, CounterNow()), log);
        SendLogged(KeyEvent(probe.vk, probe.note, false, false, CounterNow()), log);
        Sleep(kProbePeriodMs);
        if (ProbeSeen(record)) return true;
    }
    return false;
}

size_t MessageCount(const std::vector<ScheduledInput>& schedule) {
    size_t count = 0;
    for (const auto& event : schedule) count += event.messages.size();
    return count;
}

}  // namespace

const char* StartUntilReady(TargetProgram& target, const std::wstring& exe, const wchar_t* window_class,
                            const std::wstring& record, latency::InjectLog& log) {
    DeleteFileW(record.c_str());
    if (!target.Start(exe, record)) return "the program did not start";
    if (!target.WaitForWindow(window_class, kWindowTimeoutMs)) return "no window of the program";
    if (!ProbeUntilReady(record, log)) return "the program sent nothing for the probe key";
    Sleep(kSettleMs);
    return nullptr;
}

size_t PlayRound(const std::wstring& record, const ScheduleShape& shape, latency::InjectLog& log,
                 const std::function<void()>& step, size_t step_at) {
    const size_t before = CountSent(record);
    const std::vector<ScheduledInput> schedule = BuildSchedule(shape, ScheduleStart());
    const size_t expected = before + MessageCount(schedule);
    const std::span<const ScheduledInput> events(schedule);
    const size_t split = std::min(step_at, events.size());
    RunSchedule(events.first(split), log);
    if (step) step();
    RunSchedule(events.subspan(split), log);
    const ULONGLONG deadline = GetTickCount64() + kArrivalTimeoutMs;
    while (CountSent(record) < expected && GetTickCount64() < deadline) Sleep(10);
    return expected;
}

size_t CountSent(const std::wstring& record) { return latency::ReadSentMessages(record).size(); }

bool WriteLog(const std::wstring& path, const latency::InjectLog& log) {
    std::ofstream out{std::filesystem::path(path)};
    latency::WriteInjectLog(out, log);
    return static_cast<bool>(out);
}

int Fail(const char* what) {
    wchar_t exe[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, exe, MAX_PATH);
    const std::wstring name = std::filesystem::path(std::wstring(exe, length)).stem().wstring();
    std::fprintf(stderr, "%ls: %s\n", name.c_str(), what);
    return 1;
}
