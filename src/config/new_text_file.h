#pragma once

#include <cstdio>
#include <filesystem>

// Creates `path` and opens it for writing in text mode, only if nothing has
// that name at the moment of creation (one atomic step, so nothing that
// appears meanwhile is overwritten). Other programs are not locked out.
// Null when nothing was created.
std::FILE* CreateNewTextFile(const std::filesystem::path& path);
