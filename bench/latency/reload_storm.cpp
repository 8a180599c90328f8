#include "latency/reload_storm.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "latency/round_steps.h"

namespace {

constexpr DWORD kPeriodMs = 50;

}  // namespace

ReloadStorm::ReloadStorm(std::wstring path) : path_(std::move(path)) {
    std::ifstream in(std::filesystem::path(path_), std::ios::binary);
    content_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (!content_.empty()) thread_ = std::thread([this] { Run(); });
}

ReloadStorm::~ReloadStorm() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

void ReloadStorm::Run() {
    ULONGLONG next = GetTickCount64();
    while (!stop_) {
        if (RewriteFile(path_, content_)) ++rewrites_;
        next += kPeriodMs;
        const ULONGLONG now = GetTickCount64();
        if (next > now) Sleep(static_cast<DWORD>(next - now));
    }
}
