#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "config/load_news.h"
#include "config/read_schedule.h"

struct AppState;

// The CFG folder while the program runs: whether it is there, making it,
// the watch on it, the scan of its mapping files, and the loads of the
// current mapping file that follow from changes in it, retries included.
// The main loop only waits: NextCfgWait says what to wait on and for how
// long, and HandleCfgWake does the work that is due after each wake.

struct CfgFolder {
    HANDLE watch = nullptr;  // the change notification; null: none (not started, failed, or CFG gone)
    ReadSchedule schedule;   // when the folder and the current file are looked at again
    LoadNews news;           // what the user was last told about the loads
};

// The folder of `module`'s file (the program's, for null), without a
// trailing separator, or why its path cannot be read.
struct ModuleFolder {
    std::wstring path;
    DWORD error = ERROR_SUCCESS;  // the system's error code; ERROR_SUCCESS when `path` holds the folder
};
ModuleFolder FindModuleFolder(HMODULE module);

// Makes sure `cfg_dir` is a folder the program can list, creating it (one
// level) when nothing of that name exists. Returns the reason, in words, when
// it cannot be used: a plain file of that name, no rights, a failed creation.
std::optional<std::wstring> PrepareCfgFolder(const std::wstring& cfg_dir);

// Loads the current mapping file (LoadConfig) and puts what it read in force
// (PutInForce), the engine deciding what ends at the change. A read that did
// not count is scheduled again. A file that is not in force, or has entries
// that do nothing, says why in a balloon, and so does the next clean load
// after that (a load made before the icon was there keeps its message).
void PutCurrentConfigInForce(AppState& state);

// Starts the change notification on `cfg_dir` (its own files only: writes,
// and names created, renamed or deleted, so an editor that saves by rename
// is seen too), unless one runs. Without a watch the program runs on
// without hot reload and looks for the folder once a second.
void StartCfgWatch(CfgFolder& folder, const std::wstring& cfg_dir);

// Closes the watch, once; a second call does nothing.
void StopCfgWatch(CfgFolder& folder);

// Rebuilds `config_list` from the folder as it is now, making CFG (one
// level) when nothing has its name. A CFG that is gone lets its watch go
// first; one made or found again is watched, and the current file loaded.
void RescanCfgFolder(AppState& state);

// What the main loop waits for besides its messages.
struct CfgWait {
    HANDLE watch;      // the watch to wait on; null: none
    DWORD timeout_ms;  // until the folder's next deadline; INFINITE: none
};

// The next wait. While nothing watches CFG it schedules a look for the
// folder a second later.
CfgWait NextCfgWait(CfgFolder& folder);

// Does what is due after a wait; `watch_signalled` when the wait ended for
// the watch. A change loads the current file 100 ms later (messages, and so
// the input hooks, are served meanwhile), then the watch is re-armed.
void HandleCfgWake(AppState& state, bool watch_signalled);
