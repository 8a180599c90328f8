#pragma once

#include <optional>
#include <string>
#include <system_error>

// Creates the first free Config_N.json in `cfg_dir` with the default content
// and returns its full path. Nothing when no file could be created (the
// folder is missing or not writable, the disk is full, ...); `error` then
// says why, for the caller to put into words.
std::optional<std::wstring> CreateNewConfig(const std::wstring& cfg_dir, std::error_code& error);
