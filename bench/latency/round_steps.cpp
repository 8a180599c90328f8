#include "latency/round_steps.h"

#include <windows.h>

#include <filesystem>
#include <fstream>

#include "latency/bench_keymap.h"

namespace {

constexpr ULONGLONG kReadyTimeoutMs = 5000;
constexpr DWORD kProbePeriodMs = 20;
constexpr ULONGLONG kArrivalTimeoutMs = 3000;

bool ProbeSeen(const std::wstring& record) {
    for (const auto& sent : latency::ReadSentMessages(record)) {
        if (sent.message == bench_keymap::NoteOn(bench_keymap::kProbeKey.note)) return true;
    }
    return false;
}

}  // namespace

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

size_t CountSent(const std::wstring& record) { return latency::ReadSentMessages(record).size(); }

size_t MessageCount(const std::vector<ScheduledInput>& schedule) {
    size_t count = 0;
    for (const auto& event : schedule) count += event.messages.size();
    return count;
}

void WaitForArrivals(const std::wstring& record, size_t expected) {
    const ULONGLONG deadline = GetTickCount64() + kArrivalTimeoutMs;
    while (CountSent(record) < expected && GetTickCount64() < deadline) Sleep(10);
}

bool WriteLog(const std::wstring& path, const latency::InjectLog& log) {
    std::ofstream out{std::filesystem::path(path)};
    latency::WriteInjectLog(out, log);
    return static_cast<bool>(out);
}
