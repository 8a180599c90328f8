#pragma once

#include <optional>
#include <string>
#include <string_view>

// Strict conversions between wide text (UTF-16 where wchar_t has 16 bits, as
// on Windows; UTF-32 elsewhere) and UTF-8. Nothing when the input is not
// well-formed: a lone surrogate, an overlong or truncated sequence, a code
// point beyond U+10FFFF.
std::optional<std::string> WideToUtf8(std::wstring_view text);
std::optional<std::wstring> Utf8ToWide(std::string_view bytes);

// UTF-8 text as a wide string, never failing: a byte sequence that is not
// well-formed UTF-8 gives one U+FFFD per bad byte, so the result is always
// well-formed.
std::wstring WideFromUtf8(std::string_view text);
