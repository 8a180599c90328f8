#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "check.h"

// The only files the editor reads: its mapping file and the KeyMapping.cfg
// beside it (read once, at the start, as the program reads it); and, to
// tell whether the file is the one Quillfret plays, the CFG folder's
// last_config.txt and listing. It writes only the mapping file.
struct EditorFiles {
    std::filesystem::path mapping_file;
    KeyNamesRead key_names;
};

EditorFiles OpenEditorFiles(const std::filesystem::path& mapping_file);

// The mapping file Quillfret plays from `cfg_dir`, chosen as the program
// chooses it at start: the one last_config.txt names, else the first of the
// folder's listing; nothing when there is none.
std::optional<std::filesystem::path> CurrentConfigIn(const std::filesystem::path& cfg_dir);

// The arguments of a double-click on quillfret-check.exe: the editor on the
// current config of the CFG folder beside the exe; nothing when there is none.
std::optional<std::vector<std::string>> DoubleClickArguments(const std::filesystem::path& exe_dir);
