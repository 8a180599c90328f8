#include <system_error>

#include "file_store.h"

// A rename over a file is atomic here, and an open file never stops it.
std::string RenameOver(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::error_code error;
    std::filesystem::rename(from, to, error);
    return error ? error.message() : "";
}
