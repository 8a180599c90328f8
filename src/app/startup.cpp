#include "app/startup.h"

#include <string>

#include "app/app_state.h"
#include "app/cfg_folder.h"
#include "app/hook_witness.h"
#include "app/input_hooks.h"
#include "app/main_loop.h"
#include "app/release_resources.h"
#include "app/tray_window.h"
#include "config/catalogue.h"
#include "config/default_device.h"
#include "config/key_names.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitNoMidiPort = 1;
constexpr int kExitCfgUnusable = 2;

// True when another instance of this logon session holds the mutex. A mutex
// that cannot be created at all leaves the program running without the guard.
bool AnotherInstanceRuns(AppState& state) {
    SetLastError(ERROR_SUCCESS);  // only "already exists" may be read below
    state.instance_mutex = CreateMutexW(nullptr, TRUE, L"Local\\Quillfret_Unique_Instance_Mutex");
    return state.instance_mutex != nullptr && GetLastError() == ERROR_ALREADY_EXISTS;
}

// The folder of the program file, without a trailing separator. The module
// name is read into a buffer that grows until the whole path fits: a path
// cut short would put CFG into another folder.
std::wstring GetExeDir() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? path : path.substr(0, separator);
}

void BuildPaths(AppState& state) {
    state.exe_dir = GetExeDir();
    state.cfg_dir = state.exe_dir + L"\\CFG";
    state.key_mapping_path = state.cfg_dir + L"\\KeyMapping.cfg";
    state.last_config_path = state.cfg_dir + L"\\last_config.txt";
}

// The steps that read the CFG folder once it is usable: the key names, the
// catalogue, the remembered choice (else the first file) and the first
// load. Each reader absorbs the problems of its own files.
void LoadConfiguration(AppState& state) {
    LoadKeyNames(state.key_names, state.key_mapping_path);
    ScanConfigs(state);
    LoadLastConfig(state);
    if (state.current_config.empty() && !state.config_list.empty()) state.current_config = state.config_list[0];
    LoadCurrentConfig(state);
}

int EndStartUp(AppState& state, const std::wstring& text, const wchar_t* caption, UINT icon, int exit_code) {
    MessageBoxW(nullptr, text.c_str(), caption, MB_OK | icon);
    ReleaseResources(state);  // only the mutex is held at this point
    return exit_code;
}

}  // namespace

int RunQuillfret(HINSTANCE instance) {
    // DLLs loaded later (by the system's own libraries too) come from the system folder only.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    AppState state;
    if (AnotherInstanceRuns(state)) {
        return EndStartUp(state, L"Программа уже запущена.", L"Quillfret", MB_ICONINFORMATION, kExitOk);
    }
    BuildPaths(state);
    if (auto failure = PrepareCfgFolder(state.cfg_dir)) {
        const std::wstring text = L"The CFG folder cannot be used:\n" + state.cfg_dir + L"\n\n" + *failure;
        return EndStartUp(state, text, L"Error", MB_ICONERROR, kExitCfgUnusable);
    }
    LoadConfiguration(state);
    if (!OpenMidiOut(state.midi_out, state.midi_device)) {
        const std::wstring text = DefaultMidiDeviceWide() + L" MIDI device not found";
        return EndStartUp(state, text, L"Error", MB_ICONERROR, kExitNoMidiPort);
    }
    CreateTrayWindow(state, instance);
    TellUntoldNews(state);
    InstallInputHooks(state);
    StartHookWitness(state);
    StartCfgWatch(state);
    RunMainLoop(state);
    ReleaseResources(state);
    return kExitOk;
}
