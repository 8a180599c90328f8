#include "config/file_busy.h"

#include <windows.h>

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
