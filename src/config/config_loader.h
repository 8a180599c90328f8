#pragma once

#include "config/core_state.h"

// Brings `mappings` and `midi_device` into line with `current_config`. Reads
// the file only when its path or last-write time differs from the file last
// read; absorbs every problem of the file (the callers have no error
// handling), leaving the table empty for a file that fails as a whole.
void LoadConfig(CoreState& state);
