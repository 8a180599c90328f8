#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <ostream>
#include <string>

#include "config/key_names.h"
#include "config/mapping_file.h"
#include "engine/player.h"

// "quillfret-check --keys": keys and mouse buttons pressed while it runs,
// each with the name the key names give it and what a mapping file does on
// its press and release, played through the program's own engine. This is
// the portable half; RunKeySession (key_watch_win32.cpp) feeds it the
// desktop's input through low-level hooks, as the program sees it.

struct KeySession {
    std::filesystem::path mapping_file;
    std::filesystem::path key_names_file;
    KeyNameTable key_names;
    std::map<int32_t, std::string> names_by_code;
    MappingFileRead file;  // its table, and why it failed when it did
    Player player;
};

KeySession StartKeySession(const std::filesystem::path& mapping_file, const std::filesystem::path& key_names_file);

// The lines printed before the first key: the files, and how to end.
void PrintKeySessionHeader(const KeySession& session, std::ostream& out);

// One trigger transition in a line: "press   A (65): note-on 60 (C4)
// velocity 100"; a code the key names do not name is shown as "code 124".
// `key_is_down` answers the modifier test, as in the program.
std::string KeyLine(KeySession& session, int32_t code, bool down, const std::function<bool(int32_t)>& key_is_down);

// Runs the session until Esc is pressed: 0 then, 2 when the desktop's
// input cannot be watched (not on Windows, or the hooks do not install).
int RunKeySession(KeySession& session, std::ostream& out, std::ostream& err);
