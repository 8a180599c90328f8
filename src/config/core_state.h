#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "config/default_device.h"
#include "config/key_names.h"
#include "engine/mapping.h"
#include "engine/player.h"

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

    // The mapping file whose table is in force and the last-write time it
    // was read at: a load reads the current file again only when its path
    // or its time differs, or when the last read did not count.
    int64_t loaded_write_time = 0;
    std::wstring loaded_path;
    bool read_again = false;  // the last read did not count (busy, or saved meanwhile)

    KeyNameTable key_names;
    // What the file in force says: its mappings, and whether everything that
    // is on is switched off before it goes out of force.
    MappingTable mappings;
    bool release_on_change = false;
    // What is playing: the transpose and what each trigger switched on. It
    // outlives reloads, so that a release ends what its press started.
    Player player;
};
