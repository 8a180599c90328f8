// The configuration's platform answers on Windows: file times and sharing
// asked of the system, and the ANSI code page.
#include "config/platform.h"

#include <windows.h>

#include <climits>

#include "config/utf8.h"

namespace {

int64_t Ticks(const FILETIME& time) {
    return static_cast<int64_t>(static_cast<uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime);
}

// Opens the thing at `path` for its attributes only (links followed to their
// target), with every kind of sharing, so that a file another program holds
// exclusively still answers, and a folder too (backup semantics).
std::optional<int64_t> OpenedWriteTime(const std::filesystem::path& path) {
    HANDLE file =
        CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;  // absent, or not reachable: both mean "leave it"
    FILETIME written{};
    const bool known = GetFileTime(file, nullptr, nullptr, &written) != 0;
    CloseHandle(file);
    if (!known) return std::nullopt;
    return Ticks(written);
}

}  // namespace

std::optional<int64_t> LastWriteTime(const std::filesystem::path& path) {
    // The main loop asks after every change in the folder, on the thread
    // that runs the input hooks. A query by name opens no handle and costs a
    // fraction of an open; it also answers for folders and for files held
    // without sharing.
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) return Ticks(data.ftLastWriteTime);
    // A link answers the query with its own time; its target's is the one that
    // changes when the mapping is saved.
    return OpenedWriteTime(path);
}

bool HeldByAnotherProgram(const std::filesystem::path& path) {
    // The C runtime reports every failed open alike, so the reason is asked
    // of the system with an open of the same kind (read, all sharing allowed).
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        return true;
    }
    const DWORD error = GetLastError();
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

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
