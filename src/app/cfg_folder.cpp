#include "app/cfg_folder.h"

#include <windows.h>

#include "config/code_page.h"
#include "config/utf8.h"

namespace {

std::optional<std::wstring> CreateCfgFolder(const std::wstring& cfg_dir) {
    if (CreateDirectoryW(cfg_dir.c_str(), nullptr)) return std::nullopt;
    const DWORD error = GetLastError();
    // Made meanwhile by someone else: that is just as good.
    if (error == ERROR_ALREADY_EXISTS) return std::nullopt;
    return L"It cannot be created: " + SystemErrorText(error);
}

// A folder without the right to list it passes every existence test, yet no
// mapping file in it could ever be found: refuse it now.
std::optional<std::wstring> CheckListable(const std::wstring& cfg_dir) {
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((cfg_dir + L"\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        FindClose(search);
        return std::nullopt;
    }
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND) return std::nullopt;
    return L"It cannot be read: " + SystemErrorText(error);
}

}  // namespace

std::optional<std::wstring> PrepareCfgFolder(const std::wstring& cfg_dir) {
    const DWORD attributes = GetFileAttributesW(cfg_dir.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
            return L"It cannot be examined: " + SystemErrorText(error);
        }
        if (auto failure = CreateCfgFolder(cfg_dir)) return failure;
    } else if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        return std::wstring(L"A file of that name is in the way: it is not a folder.");
    }
    return CheckListable(cfg_dir);
}

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

std::wstring RuntimeErrorText(const char* what) { return AnsiToWide(what).value_or(WideFromUtf8(what)); }

std::wstring ErrorCodeText(const std::error_code& error) {
    if (error.category() == std::system_category()) return SystemErrorText(static_cast<unsigned long>(error.value()));
    return RuntimeErrorText(error.message().c_str());
}
