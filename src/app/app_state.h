#pragma once

#include <windows.h>

#include <string>

#include "app/cfg_folder.h"
#include "app/tray_icon.h"
#include "config/catalogue.h"
#include "config/config_loader.h"
#include "config/default_device.h"
#include "config/key_names.h"
#include "engine/engine.h"
#include "engine/midi_out.h"
#include "input/foreground.h"
#include "input/input_hooks.h"

// The program's one state record: every table, string and handle, for the
// whole life of the process. The one object of it belongs to the start-up
// (startup.cpp), which hands it, or its parts, to everything else by
// reference. Each handle starts null, is acquired once at start-up (the
// hooks again when the system removed them) and released once by
// ReleaseResources.
struct AppState {
    std::wstring exe_dir;
    std::wstring cfg_dir;           // exe_dir + "\CFG"
    std::wstring key_mapping_path;  // cfg_dir + "\KeyMapping.cfg"
    std::wstring last_config_path;  // cfg_dir + "\last_config.txt"

    std::wstring current_config;  // full path of the current mapping file; empty = none
    ConfigList config_list;
    std::wstring midi_device = DefaultMidiDeviceWide();  // name fragment of the output port
    LoadedFile loaded;                                   // what was last read of the current file
    KeyNameTable key_names;

    Engine engine;  // the mappings in force and what is playing
    InputHooks hooks;
    ForegroundProgram front;  // the program in front at the last press of a file with "only_in"
    MidiOut midi_out;
    HWND window = nullptr;
    CfgFolder cfg_folder;
    HANDLE instance_mutex = nullptr;
    TrayIcon tray_icon;
};
