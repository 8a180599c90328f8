#include "config/regular_file.h"

bool IsRegularFile(const std::filesystem::path& path) {
    std::error_code error;  // any failure to tell means "not a readable file"
    return std::filesystem::is_regular_file(path, error);
}
