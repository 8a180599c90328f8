#include "fuzz_file.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

FuzzFile::FuzzFile(const char* name) {
    const fs::path folder = fs::temp_directory_path() / ("quillfret-fuzz-" + std::to_string(getpid()));
    fs::create_directories(folder);
    folder_ = folder.wstring();
    path_ = (folder / name).wstring();
}

const std::wstring& FuzzFile::Write(const uint8_t* data, size_t size) {
    std::FILE* file = std::fopen(fs::path(path_).c_str(), "wb");
    if (file == nullptr) std::abort();  // the harness itself is broken: stop loudly
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    return path_;
}
