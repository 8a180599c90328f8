// The Windows edge of the configuration: the system's ANSI code page.
#include "config/code_page.h"

#include <windows.h>

#include <climits>

#include "config/utf8.h"

std::optional<std::string> WideToAnsi(std::wstring_view text) {
    // Where the ANSI code page is UTF-8 (Windows' "Use Unicode UTF-8"
    // option) it holds every path. WideCharToMultiByte refuses the flag and
    // the report used below for UTF-8, so the text takes the program's own
    // strict UTF-8 form, which refuses only what is no text (a lone surrogate).
    if (GetACP() == CP_UTF8) return WideToUtf8(text);
    if (text.empty()) return std::string();
    if (text.size() > INT_MAX) return std::nullopt;
    const int length = static_cast<int>(text.size());
    // Without best-fit mapping, a character the code page lacks becomes the
    // default character and is reported through `used_default`.
    BOOL used_default = FALSE;
    const int size =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, nullptr, 0, nullptr, &used_default);
    if (size <= 0 || used_default) return std::nullopt;
    std::string bytes(static_cast<size_t>(size), '\0');
    if (WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, bytes.data(), size, nullptr, nullptr) !=
        size) {
        return std::nullopt;
    }
    return bytes;
}

std::optional<std::wstring> AnsiToWide(std::string_view bytes) {
    if (bytes.empty()) return std::wstring();
    if (bytes.size() > INT_MAX) return std::nullopt;
    const int length = static_cast<int>(bytes.size());
    const int size = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(), length, nullptr, 0);
    if (size <= 0) return std::nullopt;
    std::wstring text(static_cast<size_t>(size), L'\0');
    if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(), length, text.data(), size) != size) {
        return std::nullopt;
    }
    return text;
}
