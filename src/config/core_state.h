#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "config/default_device.h"
#include "config/key_names.h"
#include "engine/mapping.h"

// Full paths of the mapping files found in the CFG folder, in listing order.
using ConfigList = std::vector<std::wstring>;

// The portable part of the program's one state record: every table, string
// and path that the configuration and the engine work on. The keyboard
// hook's held keys and the Win32 handles live beside it in AppState, which
// extends this record. Paths are wide
// strings (UTF-16 on Windows) and reach the file system through
// std::filesystem::path.
struct CoreState {
    std::wstring exe_dir;
    std::wstring cfg_dir;           // exe_dir + "\CFG"
    std::wstring key_mapping_path;  // cfg_dir + "\KeyMapping.cfg"
    std::wstring last_config_path;  // cfg_dir + "\last_config.txt"

    std::wstring current_config;  // full path of the current mapping file; empty = none
    ConfigList config_list;
    std::wstring midi_device = DefaultMidiDeviceWide();  // name fragment of the output port

    // The mapping file last read and its last-write time: a load reads the
    // current file again only when its path or its time differs.
    int64_t loaded_write_time = 0;
    std::wstring loaded_path;

    KeyNameTable key_names;
    MappingTable mappings;
    // The player's transpose and what each trigger switched on with: kept
    // across reloads, like a held key, so that a release after a reload
    // switches off the notes its press switched on.
    Transpose transpose;
};
