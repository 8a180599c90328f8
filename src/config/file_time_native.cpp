#include "config/file_time.h"

#include <chrono>
#include <ratio>
#include <system_error>

namespace fs = std::filesystem;

std::optional<int64_t> LastWriteTime(const fs::path& path) {
    using FileTicks = std::chrono::duration<int64_t, std::ratio<1, 10'000'000>>;
    std::error_code error;  // absence and failure alike: it may vanish between the two queries
    if (!fs::exists(path, error) || error) return std::nullopt;
    const fs::file_time_type time = fs::last_write_time(path, error);
    if (error) return std::nullopt;
    return std::chrono::duration_cast<FileTicks>(time.time_since_epoch()).count();
}
