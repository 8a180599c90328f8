#pragma once

#include <cstdint>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>

#include "config/key_names.h"
#include "config/mapping_file.h"
#include "config/platform.h"
#include "config/wide_path.h"

// What was last read of the current mapping file. A load reads the current
// file again only when its path or its last-write time differs from these,
// or when the last read did not count (ReadStatus).
struct LoadedFile {
    std::wstring path;
    int64_t loaded_write_time = 0;  // 100-nanosecond ticks; one value for the program, never reset
    bool counted = true;            // the last read was the file as saved
};

// Reads the current mapping file when its path or last-write time differs
// from what `loaded` says was last read, and notes the read there. Nothing
// when there was nothing to read: no current file, not there, or unchanged.
// Every problem of the file is absorbed into the read (the callers have no
// error handling): a file that fails as a whole reads as an empty table.
//
// `write_time(path)` answers the file's last-write time (LastWriteTime, or
// a test's own clock). A file saved again while it was read, or held by
// another program, reads with a status that asks for another read.
template <typename WriteTime = decltype(&LastWriteTime)>
std::optional<MappingFileRead> LoadConfig(const std::wstring& current_config, const KeyNameTable& key_names,
                                          LoadedFile& loaded, WriteTime write_time = LastWriteTime) {
    if (current_config.empty()) return std::nullopt;
    // A path without a file-system form (not UTF-16, say) names no file there is.
    const std::optional<std::filesystem::path> path = PathFromWide(current_config);
    if (!path) return std::nullopt;
    try {
        const std::optional<int64_t> time = write_time(*path);
        if (!time) return std::nullopt;
        if (current_config == loaded.path && *time == loaded.loaded_write_time && loaded.counted) return std::nullopt;
        // From here the file counts as read, also when it fails: it is tried
        // again only when its time or the selection changes; unless what was
        // read need not be the saved text (held by another program, or saved
        // again meanwhile).
        MappingFileRead read = ReadMappingFile(*path, key_names);
        if (read.status == ReadStatus::Whole && write_time(*path) != time) read.status = ReadStatus::ChangedWhileRead;
        loaded = {current_config, *time, read.status == ReadStatus::Whole};
        return read;
    } catch (const std::exception&) {
        // Only running out of memory lands here. The callers have no error
        // handling and the program must go on with what it has, so the load
        // just ends.
        return std::nullopt;
    }
}
