#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

// Creates the first free Config_N.json in `cfg_dir` with the default content
// and returns its full path. Nothing when no file could be created (the
// folder is missing or not writable, the disk is full, ...); `error` then
// says why, for the caller to put into words.
std::optional<std::wstring> CreateNewConfig(const std::wstring& cfg_dir, std::error_code& error);

// Creates `path` and opens it for writing in text mode, only if nothing has
// that name at the moment of creation (one atomic step, so nothing that
// appears meanwhile is overwritten). Other programs are not locked out.
// Null when nothing was created; `error` then says why.
std::FILE* CreateNewTextFile(const std::filesystem::path& path, std::error_code& error);

// Writes the whole text and closes the file; false when any of it failed,
// with the reason in `error` (a full disk, say).
bool WriteAndCloseTextFile(std::FILE* file, std::string_view text, std::error_code& error);
