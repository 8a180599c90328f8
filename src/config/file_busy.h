#pragma once

#include <filesystem>

// True when the file at `path` did not open for reading because another
// program holds it (a sharing or lock violation), so it may open in a moment;
// also when it opens by now, released since the failed open. Asked only after
// an open failed: any other failure (no rights, gone) gives false.
bool HeldByAnotherProgram(const std::filesystem::path& path);
