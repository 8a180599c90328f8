#include "config/config_loader.h"

#include <exception>
#include <filesystem>
#include <optional>
#include <string>

#include "config/file_time.h"
#include "config/mapping_file.h"
#include "config/utf8.h"

namespace fs = std::filesystem;

void LoadConfig(CoreState& state) { LoadConfig(state, LastWriteTime); }

void LoadConfig(CoreState& state, WriteTimeQuery write_time) {
    if (state.current_config.empty()) return;
    try {
        const fs::path path(state.current_config);
        const std::optional<int64_t> time = write_time(path);
        if (!time) return;
        if (*time == state.loaded_write_time && state.current_config == state.loaded_path) return;
        // From here the file counts as read, whatever follows: a file that
        // fails is tried again only when its time or the selection changes.
        state.loaded_path = state.current_config;
        state.loaded_write_time = *time;
        const std::optional<std::string> device = LoadMappingFile(path, state.key_names, state.mappings);
        if (device) state.midi_device = WideFromUtf8(*device);
    } catch (const std::exception&) {
        // Only a path the platform cannot represent or running out of memory
        // lands here. The callers have no error handling and the program must
        // go on with what it has, so the load just ends.
    }
}
