#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The program reads its files by path, so each fuzz input is written to one
// file in a private temporary folder and read from there.
class FuzzFile {
public:
    explicit FuzzFile(const char* name);
    // Replaces the file's content with the input; returns its full path.
    const std::wstring& Write(const uint8_t* data, size_t size);
    const std::wstring& folder() const { return folder_; }

private:
    std::wstring folder_;
    std::wstring path_;
};
