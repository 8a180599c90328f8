#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "check.h"
#include "config/mapping_file.h"
#include "engine/engine.h"
#include "input/program_names.h"

// "quillfret-check --keys": keys and mouse buttons pressed while it runs,
// each with the name the key names give it and what a mapping file does on
// its press and release, played through the program's own engine. This is
// the portable half; RunKeySession (key_watch_win32.cpp) feeds it the
// desktop's input through the program's own hooks.

struct KeySession {
    std::filesystem::path mapping_file;
    KeyNamesRead key_names;
    MappingFileRead file;  // why it failed, when it did
    Engine engine;         // its table in force
};

KeySession StartKeySession(const std::filesystem::path& mapping_file, const std::filesystem::path& key_names_file);

// The lines printed before the first key: the files, and how to end.
void PrintKeySessionHeader(const KeySession& session, std::ostream& out);

// "  (in front: notepad.exe)", and whether the file plays there when it
// plays only in some programs.
std::string FrontText(const KeySession& session, const std::optional<std::wstring>& front);

// The line of one trigger transition that sent `sent`, the transpose
// having been `transpose_before`, and changed the pause by `pause`.
std::string KeyLineText(const KeySession& session, int32_t code, bool down, const std::vector<uint32_t>& sent,
                        int32_t transpose_before, PauseChange pause);

// One trigger transition played in a line: "press   A (65): note-on 60 (C4)
// velocity 100  (in front: notepad.exe)"; a code the key names do not name
// is shown as "code 124". `key_is_down(vk)` answers the modifier test, as
// in the program; `front` is the program in front at a press (nothing when
// it cannot be told), which decides, as in the program, whether a file with
// "only_in" plays.
template <typename KeyIsDown>
std::string KeyLine(KeySession& session, int32_t code, bool down, KeyIsDown&& key_is_down,
                    const std::optional<std::wstring>& front) {
    std::vector<uint32_t> sent;
    const int32_t transpose_before = session.engine.player.transpose;
    const PauseChange pause = HandleTrigger(
        session.engine, code, down, key_is_down, [&sent](uint32_t message) { sent.push_back(message); },
        [&] { return front && NamesProgram(session.engine.only_in, *front); });
    std::string line = KeyLineText(session, code, down, sent, transpose_before, pause);
    if (down) line += FrontText(session, front);
    return line;
}

// Runs the session until Esc is pressed: 0 then, 2 when the desktop's
// input cannot be watched (not on Windows, or the hooks do not install).
int RunKeySession(KeySession& session, std::ostream& out, std::ostream& err);
