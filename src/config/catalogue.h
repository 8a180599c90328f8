#pragma once

#include "config/core_state.h"

// Rebuilds `config_list` from the listing of `cfg_dir`: every entry whose
// extension is exactly ".json". A folder that cannot be listed (missing, a
// plain file) lists nothing.
void ScanConfigs(CoreState& state);

// Makes the path remembered in `last_config_path` current when it exists.
void LoadLastConfig(CoreState& state);

// Remembers `current_config` in `last_config_path`; does nothing when empty.
void SaveLastConfig(const CoreState& state);
