#pragma once

#include <string>
#include <string_view>

// UTF-8 text as a wide string: UTF-16 where wchar_t has 16 bits (Windows),
// UTF-32 where it has 32. A byte sequence that is not well-formed UTF-8 gives
// one U+FFFD per bad byte, so the result is always well-formed.
std::wstring WideFromUtf8(std::string_view text);
