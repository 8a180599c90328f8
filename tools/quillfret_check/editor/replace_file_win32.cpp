#include <windows.h>

#include <string>

#include "config/utf8.h"
#include "file_store.h"

namespace {

// How long a target held by another program is tried again, and how often.
constexpr int kRetryCount = 40;
constexpr DWORD kRetryPauseMs = 25;

bool HeldForAMoment(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
}

std::string SystemReason(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring reason = length == 0 ? L"error " + std::to_wstring(error) : std::wstring(text, length);
    LocalFree(text);
    while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r' || reason.back() == L'.')) {
        reason.pop_back();
    }
    return WideToUtf8(reason).value_or("error " + std::to_string(error));
}

}  // namespace

std::string RenameOver(const std::filesystem::path& from, const std::filesystem::path& to) {
    DWORD error = ERROR_SUCCESS;
    for (int attempt = 0; attempt < kRetryCount; ++attempt) {
        if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return "";
        error = GetLastError();
        if (!HeldForAMoment(error)) break;
        Sleep(kRetryPauseMs);
    }
    return SystemReason(error);
}
