#include "config/path_presence.h"

PathPresence CheckPathPresence(const std::filesystem::path& path, std::error_code* reason) {
    std::error_code error;  // a failed check is an answer of its own, reported as kUnknown
    const std::filesystem::file_status status = std::filesystem::symlink_status(path, error);
    if (status.type() == std::filesystem::file_type::not_found) return PathPresence::kAbsent;
    if (!error) return PathPresence::kPresent;
    if (reason != nullptr) *reason = error;
    return PathPresence::kUnknown;
}
