#include "config/config_loader.h"

#include <exception>
#include <filesystem>
#include <optional>
#include <string>

#include "config/file_time.h"
#include "config/mapping_file.h"
#include "config/utf8.h"

namespace fs = std::filesystem;

LoadOutcome LoadConfig(CoreState& state) { return LoadConfig(state, LastWriteTime); }

LoadOutcome LoadConfig(CoreState& state, WriteTimeQuery write_time) {
    if (state.current_config.empty()) return LoadOutcome::Unchanged;
    try {
        const fs::path path(state.current_config);
        const std::optional<int64_t> time = write_time(path);
        if (!time) return LoadOutcome::Unchanged;
        if (*time == state.loaded_write_time && state.current_config == state.loaded_path) {
            return LoadOutcome::Unchanged;
        }
        // From here the file counts as read, also when it fails: it is tried
        // again only when its time or the selection changes.
        state.loaded_path = state.current_config;
        state.loaded_write_time = *time;
        const MappingFileRead read = LoadMappingFile(path, state.key_names, state.mappings);
        if (read.midi_device) state.midi_device = WideFromUtf8(*read.midi_device);
        // Two exceptions, where what was read need not be the saved text: a
        // file another program holds for a moment (a scanner, a sync tool),
        // and one saved again while it was read. Neither counts as read (an
        // empty path matches no file), and the caller is asked to load again.
        if (read.busy || write_time(path) != time) {
            state.loaded_path.clear();
            return LoadOutcome::ReadAgain;
        }
        return LoadOutcome::Read;
    } catch (const std::exception&) {
        // Only a path the platform cannot represent or running out of memory
        // lands here. The callers have no error handling and the program must
        // go on with what it has, so the load just ends.
        return LoadOutcome::Unchanged;
    }
}
