#pragma once

#include <filesystem>
#include <optional>
#include <string>

// Between the program's wide paths and std::filesystem. On Windows both are
// UTF-16 and nothing is converted. Elsewhere file names are UTF-8 bytes,
// converted here by the program's own codec: the standard library would go
// through the "C" locale there and throw on any character outside ASCII.
// Nothing when the text has no form on the other side.
std::optional<std::filesystem::path> PathFromWide(const std::wstring& path);
std::optional<std::wstring> WideFromPath(const std::filesystem::path& path);
