#include "app/menu_commands.h"

#include "app/cfg_watch.h"
#include "app/window_messages.h"
#include "config/catalogue.h"
#include "config/new_config.h"

namespace {

// The shell reports nothing useful to act on when Notepad or the folder
// cannot be opened, so its results are not tested: the program runs on.
void ShellOpen(const wchar_t* file, const wchar_t* parameters) {
    ShellExecuteW(nullptr, L"open", file, parameters, nullptr, SW_SHOWNORMAL);
}

void MakeCurrent(AppState& state, std::wstring path) {
    state.current_config = std::move(path);
    SaveLastConfig(state);
    ReloadConfig(state);
}

void NewConfig(AppState& state) {
    // When no file could be created the current choice stays as it was.
    if (auto path = CreateNewConfig(state.cfg_dir)) {
        MakeCurrent(state, std::move(*path));
        EditCurrentConfig(state);
    }
}

void SelectConfig(AppState& state, size_t index) {
    // The ids refer to the list as scanned when the menu was built; nothing
    // rescans it between building the menu and receiving its command.
    if (index < state.config_list.size()) MakeCurrent(state, state.config_list[index]);
}

}  // namespace

void EditCurrentConfig(const AppState& state) { ShellOpen(L"notepad.exe", state.current_config.c_str()); }

void RunMenuCommand(AppState& state, UINT id) {
    switch (id) {
        case ID_NEW_CONFIG: NewConfig(state); return;
        case ID_EDIT_CURRENT:
            if (!state.current_config.empty()) EditCurrentConfig(state);
            return;
        case ID_OPEN_CFG_FOLDER: ShellOpen(state.cfg_dir.c_str(), nullptr); return;
        case ID_QUIT: PostQuitMessage(0); return;
        default:
            if (id >= ID_CONFIG_BASE) SelectConfig(state, id - ID_CONFIG_BASE);
            return;
    }
}
