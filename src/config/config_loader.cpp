#include "config/config_loader.h"

#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>

#include "config/file_time.h"
#include "config/mapping_file.h"
#include "config/utf8.h"
#include "config/wide_path.h"
#include "engine/mapping_engine.h"

namespace fs = std::filesystem;

namespace {

// Puts the table just read in force, after what was in force has ended.
void PutInForce(CoreState& state, MappingFileRead& read, bool same_file, const MidiSend& send) {
    SwitchOffOnChange(state, send);
    if (!same_file) state.player.transpose = 0;
    state.mappings = std::move(read.mappings);
    state.release_on_change = read.release_on_change;
    TakeTable(state.player, state.mappings);
}

}  // namespace

void SwitchOffOnChange(CoreState& state, const MidiSend& send) {
    if (state.release_on_change && send) SwitchOffEverything(state.player, send);
}

LoadResult LoadConfig(CoreState& state, const MidiSend& send) { return LoadConfig(state, send, LastWriteTime); }

LoadResult LoadConfig(CoreState& state, const MidiSend& send, WriteTimeQuery write_time) {
    if (state.current_config.empty()) return {};
    // A path without a file-system form (not UTF-16, say) names no file there is.
    const std::optional<fs::path> path = PathFromWide(state.current_config);
    if (!path) return {};
    try {
        const std::optional<int64_t> time = write_time(*path);
        if (!time) return {};
        const bool same_file = state.current_config == state.loaded_path;
        if (same_file && *time == state.loaded_write_time && !state.read_again) return {};
        // From here the file counts as read, also when it fails: it is tried
        // again only when its time or the selection changes.
        MappingFileRead read = LoadMappingFile(*path, state.key_names);
        PutInForce(state, read, same_file, send);
        state.loaded_path = state.current_config;
        state.loaded_write_time = *time;
        if (read.midi_device) state.midi_device = WideFromUtf8(*read.midi_device);
        // Two exceptions, where what was read need not be the saved text: a
        // file another program holds for a moment (a scanner, a sync tool),
        // and one saved again while it was read. Neither counts as read, and
        // the caller is asked to load again.
        state.read_again = read.busy || write_time(*path) != time;
        return {state.read_again ? LoadOutcome::ReadAgain : LoadOutcome::Read, std::move(read.failure), read.idle_count,
                std::move(read.first_idle), state.mappings.size()};
    } catch (const std::exception&) {
        // Only running out of memory lands here. The callers have no error
        // handling and the program must go on with what it has, so the load
        // just ends.
        return {};
    }
}
