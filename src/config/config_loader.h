#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>

#include "config/core_state.h"
#include "config/mapping_file.h"

// Asks for the last-write time of the thing at `path` (links followed), in
// 100-nanosecond ticks; nothing when it does not exist or the query fails.
using WriteTimeQuery = std::optional<int64_t> (*)(const std::filesystem::path& path);

// Sends one packed MIDI message on the program's port.
using MidiSend = std::function<void(uint32_t message)>;

// What a load did with the current mapping file.
enum class LoadOutcome {
    Unchanged,  // nothing read: no current file, not there, or the path and time last read
    Read,       // read, a malformed file too: read again only when its path or time changes
    ReadAgain,  // held by another program, or saved again while it was read: it does not
                // count as read, and should be read again shortly (load_retry.h)
};

// What a load did, and, when it read the file, what it found: the loader's
// own diagnosis, for telling the user why a file is not (wholly) in force.
struct LoadResult {
    LoadOutcome outcome = LoadOutcome::Unchanged;
    LoadFailure failure;                  // kind None: the file is in force
    std::size_t idle_count = 0;           // entries that do nothing
    std::optional<IdleEntry> first_idle;  // the first of them
    std::size_t mapping_count = 0;        // mappings in force
};

// Brings `mappings` and `midi_device` into line with `current_config`. Reads
// the file only when its path or last-write time differs from the file last
// read; absorbs every problem of the file (the callers have no error
// handling), leaving the table empty for a file that fails as a whole.
//
// It alone decides what stays in force when a file is read: when the file
// going out of force has "release_on_change", everything still on is
// switched off first through `send`; every read forgets which toggles are
// on; the transpose starts at 0 when another file than the one in force is
// read. A key held meanwhile still ends what its press started.
LoadResult LoadConfig(CoreState& state, const MidiSend& send, WriteTimeQuery write_time);

// LoadConfig with the platform's full-resolution query (config/file_time.h).
// Without `send` nothing can be sent (no port is open yet).
LoadResult LoadConfig(CoreState& state, const MidiSend& send = {});

// What the file in force asks for as it goes out of force (before another is
// read, and at Quit): with "release_on_change", everything still on is
// switched off through `send`; without it nothing is sent.
void SwitchOffOnChange(CoreState& state, const MidiSend& send);
