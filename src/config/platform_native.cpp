// The configuration's platform answers elsewhere than on Windows, where
// file names are UTF-8 and nothing locks a reader out.
#include "config/platform.h"

#include <chrono>
#include <ratio>
#include <system_error>

#include "config/utf8.h"

namespace fs = std::filesystem;

std::optional<int64_t> LastWriteTime(const fs::path& path) {
    using FileTicks = std::chrono::duration<int64_t, std::ratio<1, 10'000'000>>;
    std::error_code error;  // absence and failure alike: it may vanish between the two queries
    if (!fs::exists(path, error) || error) return std::nullopt;
    const fs::file_time_type time = fs::last_write_time(path, error);
    if (error) return std::nullopt;
    return std::chrono::duration_cast<FileTicks>(time.time_since_epoch()).count();
}

// POSIX has no sharing modes, and advisory locks never keep a reader out: an
// open that failed here will fail again.
bool HeldByAnotherProgram(const std::filesystem::path&) { return false; }

std::optional<std::string> WideToAnsi(std::wstring_view text) { return WideToUtf8(text); }

std::optional<std::wstring> AnsiToWide(std::string_view bytes) { return Utf8ToWide(bytes); }
