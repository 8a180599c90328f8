#include "latency/reload_storm.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

constexpr DWORD kPeriodMs = 50;

// One whole-file write, as most editors save.
bool RewriteFile(const std::wstring& path, const std::string& content) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == content.size();
}

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
