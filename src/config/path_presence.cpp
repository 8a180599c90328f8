#include "config/path_presence.h"

PathPresence CheckPathPresence(const std::filesystem::path& path, std::error_code* reason) {
    std::error_code error;  // a failed check is an answer of its own, reported as Unknown
    const std::filesystem::file_status status = std::filesystem::symlink_status(path, error);
    if (status.type() == std::filesystem::file_type::not_found) return PathPresence::Absent;
    if (!error) return PathPresence::Present;
    if (reason != nullptr) *reason = error;
    return PathPresence::Unknown;
}

bool IsRegularFile(const std::filesystem::path& path) {
    std::error_code error;  // any failure to tell means "not a readable file"
    return std::filesystem::is_regular_file(path, error);
}
