#include "config/new_text_file.h"

#include <cerrno>
#include <cstdlib>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#endif

namespace {

void ClearFileError() {
    errno = 0;
#ifdef _WIN32
    _doserrno = 0;
#endif
}

// Why the runtime's last file call failed. The Windows runtime keeps the
// system's own error code beside errno (which folds several codes into one
// value); elsewhere errno is the system's code.
std::error_code LastFileError() {
#ifdef _WIN32
    if (_doserrno != 0) return {static_cast<int>(_doserrno), std::system_category()};
#endif
    if (errno != 0) return {errno, std::generic_category()};
    return std::make_error_code(std::errc::io_error);  // a failure that left no reason
}

}  // namespace

std::FILE* CreateNewTextFile(const std::filesystem::path& path, std::error_code& error) {
    ClearFileError();
#ifdef _WIN32
    // The Windows C runtime ignores the "x" of fopen; its open() honours
    // _O_EXCL. Text mode turns each line feed into CR LF on disk.
    const int fd = _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_TEXT, _S_IREAD | _S_IWRITE);
    std::FILE* file = fd < 0 ? nullptr : _wfdopen(fd, L"w");
    if (file == nullptr) error = LastFileError();
    if (file == nullptr && fd >= 0) _close(fd);
    return file;
#else
    std::FILE* file = std::fopen(path.c_str(), "wx");
    if (file == nullptr) error = LastFileError();
    return file;
#endif
}

bool WriteAndCloseTextFile(std::FILE* file, std::string_view text, std::error_code& error) {
    ClearFileError();
    bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    if (!written) error = LastFileError();
    ClearFileError();
    if (std::fclose(file) != 0 && written) {
        error = LastFileError();
        written = false;
    }
    return written;
}
