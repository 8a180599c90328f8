#pragma once

#include <optional>
#include <string>
#include <string_view>

// Conversions between wide paths and the system's narrow encoding, the one
// that last_config.txt holds: the ANSI code page on Windows, the platform's
// narrow file-name encoding (UTF-8) elsewhere. One implementation per platform.

// Nothing when a character has no exact form in the code page (no best-fit
// replacement, no default character).
std::optional<std::string> WideToAnsi(std::wstring_view text);

// Nothing when the bytes are not valid text in the code page.
std::optional<std::wstring> AnsiToWide(std::string_view bytes);
