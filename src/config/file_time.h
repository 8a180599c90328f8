#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

// The last-write time of the thing at `path` (links followed) in the
// platform's 100-nanosecond ticks, at the file system's full resolution;
// nothing when it does not exist or the query fails. Full resolution matters:
// two saves within one second must not look alike, or the second is never
// read. (The MinGW runtime's std::filesystem keeps whole seconds only, so the
// Windows build asks the system directly.)
std::optional<int64_t> LastWriteTime(const std::filesystem::path& path);
