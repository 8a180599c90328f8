#pragma once

#include <filesystem>
#include <system_error>

// What is at a path, asked without opening it.

// Whether anything (file, folder, link, device) has a given name.
enum class PathPresence {
    Present,
    Absent,   // not found: no such entry, or a folder on the way is missing
    Unknown,  // the check itself failed (no rights, a device error)
};

// Links are not followed: a link whose target is gone still takes its name.
// An empty path is absent. For Unknown, `reason` (when given) receives why.
PathPresence CheckPathPresence(const std::filesystem::path& path, std::error_code* reason = nullptr);

// True only for a regular file (links followed). The program reads its files
// on the one thread that also runs the input hooks, so a device or pipe under
// a file's name (CON, say) must never be opened: a read from it could block
// the input of the whole desktop.
bool IsRegularFile(const std::filesystem::path& path);
