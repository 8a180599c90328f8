#include "latency/reload_storm.h"

#include <windows.h>

#include "support/test_files.h"
#include "support/win32_write.h"

namespace {

constexpr DWORD kPeriodMs = 50;

}  // namespace

ReloadStorm::ReloadStorm(std::wstring path) : path_(std::move(path)), content_(ReadBytes(path_)) {
    if (!content_.empty()) thread_ = std::thread([this] { Run(); });
}

ReloadStorm::~ReloadStorm() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

void ReloadStorm::Run() {
    ULONGLONG next = GetTickCount64();
    while (!stop_) {
        if (WriteWithWin32(path_, content_, CREATE_ALWAYS)) ++rewrites_;
        next += kPeriodMs;
        const ULONGLONG now = GetTickCount64();
        if (next > now) Sleep(static_cast<DWORD>(next - now));
    }
}
