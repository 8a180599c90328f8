#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

#include "config/core_state.h"

// Asks for the last-write time of the thing at `path` (links followed), in
// 100-nanosecond ticks; nothing when it does not exist or the query fails.
using WriteTimeQuery = std::optional<int64_t> (*)(const std::filesystem::path& path);

// What a load did with the current mapping file.
enum class LoadOutcome {
    Unchanged,  // nothing read: no current file, not there, or the path and time last read
    Read,       // read, a malformed file too: read again only when its path or time changes
    ReadAgain,  // held by another program, or saved again while it was read: it does not
                // count as read, and should be read again shortly (load_retry.h)
};

// Brings `mappings` and `midi_device` into line with `current_config`. Reads
// the file only when its path or last-write time differs from the file last
// read; absorbs every problem of the file (the callers have no error
// handling), leaving the table empty for a file that fails as a whole.
LoadOutcome LoadConfig(CoreState& state, WriteTimeQuery write_time);

// LoadConfig with the platform's full-resolution query (config/file_time.h).
LoadOutcome LoadConfig(CoreState& state);
