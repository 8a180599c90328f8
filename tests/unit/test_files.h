#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Real files in a fresh temporary folder, removed when the test ends.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The full path of `name` inside the folder, as the program holds paths.
    std::wstring Wide(const std::filesystem::path& name) const { return (path_ / name).wstring(); }

private:
    std::filesystem::path path_;
};

// Writes `bytes` exactly as given (binary mode: no line-end translation).
void WriteBytes(const std::filesystem::path& file, std::string_view bytes);

// The whole file as bytes, exactly as stored.
std::string ReadBytes(const std::filesystem::path& file);
