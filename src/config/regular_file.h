#pragma once

#include <filesystem>

// True only for a regular file (links followed). The program reads its files
// on the one thread that also runs the input hooks, so a device or pipe under
// a file's name (CON, say) must never be opened: a read from it could block
// the input of the whole desktop.
bool IsRegularFile(const std::filesystem::path& path);
