#pragma once

#include <optional>
#include <string>

// Creates the first free Config_N.json in `cfg_dir` with the default content
// and returns its full path; nothing when no file could be created.
std::optional<std::wstring> CreateNewConfig(const std::wstring& cfg_dir);
