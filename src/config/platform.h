#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// What the configuration asks of the platform, answered once per platform
// (platform_win32.cpp, platform_native.cpp): the system answers these for
// real in every test, so they are linked, not passed in.

// The last-write time of the thing at `path` (links followed) in the
// platform's 100-nanosecond ticks, at the file system's full resolution;
// nothing when it does not exist or the query fails. Full resolution matters:
// two saves within one second must not look alike, or the second is never
// read. (The MinGW runtime's std::filesystem keeps whole seconds only, so the
// Windows build asks the system directly.)
std::optional<int64_t> LastWriteTime(const std::filesystem::path& path);

// True when the file at `path` did not open for reading because another
// program holds it (a sharing or lock violation), so it may open in a moment;
// also when it opens by now, released since the failed open. Asked only after
// an open failed: any other failure (no rights, gone) gives false.
bool HeldByAnotherProgram(const std::filesystem::path& path);

// Conversions between wide paths and the system's narrow encoding, the one
// that last_config.txt holds: the ANSI code page on Windows, the platform's
// narrow file-name encoding (UTF-8) elsewhere. WideToAnsi gives nothing
// when a character has no exact form in the code page (no best-fit
// replacement, no default character); AnsiToWide nothing when the bytes are
// not valid text in it.
std::optional<std::string> WideToAnsi(std::wstring_view text);
std::optional<std::wstring> AnsiToWide(std::string_view bytes);
