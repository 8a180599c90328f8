#include "app/error_text.h"

#include <windows.h>

#include "config/platform.h"
#include "config/utf8.h"

namespace {

// The runtime's words, read in the ANSI code page. Bytes that are no text
// there still give a reason: read as UTF-8, with a replacement character for
// each byte that is not.
std::wstring RuntimeErrorText(const char* what) { return AnsiToWide(what).value_or(WideFromUtf8(what)); }

}  // namespace

std::wstring SystemErrorText(unsigned long error) {
    wchar_t* buffer = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length ? std::wstring(buffer, length) : L"error " + std::to_wstring(error);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    return text;
}

std::wstring ErrorCodeText(const std::error_code& error) {
    if (error.category() == std::system_category()) return SystemErrorText(static_cast<unsigned long>(error.value()));
    return RuntimeErrorText(error.message().c_str());
}
