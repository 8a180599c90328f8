// The narrow file-name encoding of the native (non-Windows) builds is UTF-8.
#include "config/code_page.h"

#include "config/utf8.h"

std::optional<std::string> WideToAnsi(std::wstring_view text) { return WideToUtf8(text); }

std::optional<std::wstring> AnsiToWide(std::string_view bytes) { return Utf8ToWide(bytes); }
