#include "config/file_time.h"

#include <windows.h>

std::optional<int64_t> LastWriteTime(const std::filesystem::path& path) {
    // Attribute access only, with every kind of sharing: this works also on a
    // file that another program holds open exclusively, and on a folder
    // (backup semantics). Links are followed by opening the target.
    HANDLE file = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;  // absent, or not reachable: both mean "leave it"
    FILETIME written{};
    const bool known = GetFileTime(file, nullptr, nullptr, &written) != 0;
    CloseHandle(file);
    if (!known) return std::nullopt;
    return static_cast<int64_t>(static_cast<uint64_t>(written.dwHighDateTime) << 32 | written.dwLowDateTime);
}
