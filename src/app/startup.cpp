// The entry point and the whole life of the program: start-up, the main
// loop, the release of every handle.
#include <windows.h>

#include <optional>
#include <string>
#include <utility>

#include "app/app_state.h"
#include "app/cfg_folder.h"
#include "app/command_line.h"
#include "app/error_text.h"
#include "app/hidden_window.h"
#include "app/main_loop.h"
#include "app/port_wait.h"
#include "app/release_resources.h"
#include "input/hook_witness.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitNoMidiPort = 1;
constexpr int kExitCfgUnusable = 2;
constexpr int kExitNoWindow = 3;

// The program's one state, for the whole life of the process: made before
// wWinMain runs and ended after it returns. Everything else gets it, or its
// parts, by reference.
AppState process_state;

// True when another instance of this logon session holds the mutex. A mutex
// that cannot be created at all leaves the program running without the guard.
bool AnotherInstanceRuns(HANDLE& instance_mutex) {
    SetLastError(ERROR_SUCCESS);  // only "already exists" may be read below
    instance_mutex = CreateMutexW(nullptr, TRUE, L"Local\\Quillfret_Unique_Instance_Mutex");
    return instance_mutex != nullptr && GetLastError() == ERROR_ALREADY_EXISTS;
}

void BuildPaths(AppState& state, std::wstring exe_dir) {
    state.exe_dir = std::move(exe_dir);
    state.cfg_dir = state.exe_dir + L"\\CFG";
    state.key_mapping_path = state.cfg_dir + L"\\KeyMapping.cfg";
    state.last_config_path = state.cfg_dir + L"\\last_config.txt";
}

// The first reads of the CFG folder once it is usable: the key names, the
// catalogue, the remembered choice (else the first file) and the first
// load. Each reader absorbs the problems of its own files.
void ReadCfgAtStart(AppState& state) {
    LoadKeyNames(state.key_names, state.key_mapping_path);
    state.config_list = ScanConfigs(state.cfg_dir);
    state.current_config = LoadLastConfig(state.last_config_path).value_or(L"");
    if (state.current_config.empty() && !state.config_list.empty()) state.current_config = state.config_list[0];
    PutCurrentConfigInForce(state);
}

int EndStartUp(AppState& state, const std::wstring& text, const wchar_t* caption, UINT icon, int exit_code) {
    MessageBoxW(nullptr, text.c_str(), caption, MB_OK | icon);
    ReleaseResources(state);
    return exit_code;
}

int EndWithError(AppState& state, const std::wstring& text, int exit_code) {
    return EndStartUp(state, text, L"Error", MB_ICONERROR, exit_code);
}

int EndWithoutPort(AppState& state) {
    return EndWithError(state, DefaultMidiDeviceWide() + L" MIDI device not found", kExitNoMidiPort);
}

// Waits for a port that was not there at start, with the window and its
// icon (and the CFG folder's watch) there and no hook yet; nothing
// returned: the port is open.
std::optional<int> WaitForPortAtStart(AppState& state, int64_t seconds) {
    TellUntoldNews(state.tray_icon);
    StartCfgWatch(state.cfg_folder, state.cfg_dir);
    switch (WaitForPort(state, seconds)) {
        case PortWaitEnd::Opened: SetTrayTip(state.tray_icon, L"Quillfret"); return std::nullopt;
        case PortWaitEnd::Quit: ReleaseResources(state); return kExitOk;
        case PortWaitEnd::TimedOut: return EndWithoutPort(state);
    }
    return EndWithoutPort(state);
}

// Start-up, in its fixed order, up to the hooks: each step that fails ends
// the program with its box and exit code; nothing returned: started. With
// `port_wait_seconds` (not 0), a port that does not open at first is waited
// for after the window is made.
std::optional<int> StartUp(AppState& state, HINSTANCE instance, std::optional<int64_t> port_wait_seconds) {
    if (AnotherInstanceRuns(state.instance_mutex)) {
        return EndStartUp(state, L"Программа уже запущена.", L"Quillfret", MB_ICONINFORMATION, kExitOk);
    }
    ModuleFolder exe = FindModuleFolder(nullptr);
    if (exe.error != ERROR_SUCCESS) {
        return EndWithError(
            state,
            L"The CFG folder cannot be used: the program's own folder is unknown.\n\n" + SystemErrorText(exe.error),
            kExitCfgUnusable);
    }
    BuildPaths(state, std::move(exe.path));
    if (auto failure = PrepareCfgFolder(state.cfg_dir)) {
        return EndWithError(state, L"The CFG folder cannot be used:\n" + state.cfg_dir + L"\n\n" + *failure,
                            kExitCfgUnusable);
    }
    ReadCfgAtStart(state);
    const bool port_open = OpenMidiOut(state.midi_out, state.midi_device);
    if (!port_open && port_wait_seconds.value_or(0) == 0) return EndWithoutPort(state);
    if (const DWORD error = CreateHiddenWindow(state, instance)) {
        return EndWithError(state, L"Quillfret's window cannot be made:\n\n" + SystemErrorText(error), kExitNoWindow);
    }
    if (!port_open) return WaitForPortAtStart(state, *port_wait_seconds);
    return std::nullopt;
}

int RunQuillfret(AppState& state, HINSTANCE instance, std::optional<int64_t> port_wait_seconds) {
    // DLLs loaded later (by the system's own libraries too) come from the system folder only.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (const std::optional<int> ended = StartUp(state, instance, port_wait_seconds)) return *ended;
    TellUntoldNews(state.tray_icon);
    InstallInputHooks(state.hooks);
    StartHookWitness(state.hooks);
    StartCfgWatch(state.cfg_folder, state.cfg_dir);
    RunMainLoop(state);
    ReleaseResources(state);
    return kExitOk;
}

}  // namespace

// The exit code: 0 after Quit, after the window was destroyed from outside,
// or when another instance runs; 1 when no MIDI port opens (within the wait
// of "--wait-for-port SECONDS", when given); 2 when the CFG folder cannot be
// used (or the program's own folder is unknown); 3 when its window cannot be
// made.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR command_line, int) {
    return RunQuillfret(process_state, instance, PortWaitSeconds(ProgramArguments(command_line)));
}
