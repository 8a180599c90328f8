#pragma once

#include <optional>
#include <string>
#include <vector>

// The catalogue of mapping files and the remembered choice of the current one.

// Full paths of the mapping files found in the CFG folder, in listing order.
using ConfigList = std::vector<std::wstring>;

// The listing of `cfg_dir`: every entry whose extension is exactly ".json".
// A folder that cannot be listed (missing, a plain file) lists nothing.
ConfigList ScanConfigs(const std::wstring& cfg_dir);

// The path remembered in `last_config_path`, when it names something that
// exists; nothing otherwise.
std::optional<std::wstring> LoadLastConfig(const std::wstring& last_config_path);

// Remembers `current_config` in `last_config_path`; does nothing when it is empty.
void SaveLastConfig(const std::wstring& last_config_path, const std::wstring& current_config);
