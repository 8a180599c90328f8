#include "config/config_loader.h"

#include <chrono>
#include <exception>
#include <filesystem>
#include <optional>
#include <ratio>
#include <string>
#include <system_error>

#include "config/mapping_file.h"
#include "config/utf8.h"

namespace {

namespace fs = std::filesystem;

// The platform's file-time unit: 100-nanosecond ticks.
using FileTicks = std::chrono::duration<int64_t, std::ratio<1, 10'000'000>>;

// The last-write time of the thing at `path`, links followed; nothing when it
// does not exist or either query fails (it may vanish between the two).
std::optional<int64_t> LastWriteTicks(const fs::path& path) {
    std::error_code error;
    if (!fs::exists(path, error) || error) return std::nullopt;
    const fs::file_time_type time = fs::last_write_time(path, error);
    if (error) return std::nullopt;
    return std::chrono::duration_cast<FileTicks>(time.time_since_epoch()).count();
}

}  // namespace

void LoadConfig(CoreState& state) {
    if (state.current_config.empty()) return;
    try {
        const fs::path path(state.current_config);
        const std::optional<int64_t> time = LastWriteTicks(path);
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
