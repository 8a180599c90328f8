#pragma once

#include <filesystem>

// Whether anything (file, folder, link, device) has a given name.
enum class PathPresence {
    kPresent,
    kAbsent,   // not found: no such entry, or a folder on the way is missing
    kUnknown,  // the check itself failed (no rights, a device error)
};

// Links are not followed: a link whose target is gone still takes its name.
// An empty path is absent. For kUnknown, `reason` (when given) receives why.
PathPresence CheckPathPresence(const std::filesystem::path& path, std::error_code* reason = nullptr);
