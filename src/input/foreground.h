#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// The program whose window is in front, asked when a press is handled (on
// the hooks' thread, never inside a hook procedure), for a mapping file
// that plays only in some programs. Used by the program and by
// quillfret-check --keys.
struct ForegroundProgram {
    HWND window = nullptr;             // the window in front at the last look
    std::optional<std::wstring> name;  // its program; nothing when that cannot be told
};

// The program in front now, by the file name of its executable: looked up
// again only when another window is in front than at the last look;
// otherwise one GetForegroundWindow call and a comparison, with no
// allocation. Nothing when it cannot be told: no window in front, a process
// that refuses the query, or this program's own window (its tray menu).
const std::optional<std::wstring>& ProgramInFront(ForegroundProgram& front);

// Whether the program in front is one of `programs` (program_names.h).
bool PlaysInFront(ForegroundProgram& front, const std::vector<std::wstring>& programs);
