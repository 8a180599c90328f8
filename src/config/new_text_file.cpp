#include "config/new_text_file.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#endif

std::FILE* CreateNewTextFile(const std::filesystem::path& path) {
#ifdef _WIN32
    // The Windows C runtime ignores the "x" of fopen; its open() honours
    // _O_EXCL. Text mode turns each line feed into CR LF on disk.
    const int fd = _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_TEXT, _S_IREAD | _S_IWRITE);
    if (fd < 0) return nullptr;
    std::FILE* file = _wfdopen(fd, L"w");
    if (file == nullptr) _close(fd);
    return file;
#else
    return std::fopen(path.c_str(), "wx");
#endif
}
