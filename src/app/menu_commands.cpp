#include "app/menu_commands.h"

#include "app/balloon.h"
#include "app/cfg_folder.h"
#include "app/error_text.h"
#include "app/shell_launch.h"
#include "app/window_messages.h"
#include "config/catalogue.h"
#include "config/new_config.h"

namespace {

// Starts Notepad on `current_config` on a thread of its own (see
// shell_launch.h), without waiting for it; a launch that fails says so in a
// balloon. A saved edit reaches the program through the folder watch.
void EditCurrentConfig(const AppState& state) {
    StartShellLaunch(state.tray_icon, L"notepad.exe", state.current_config, state.current_config);
}

void MakeCurrent(AppState& state, std::wstring path) {
    state.current_config = std::move(path);
    SaveLastConfig(state);
    LoadCurrentConfig(state);
}

void NewConfig(AppState& state) {
    std::error_code error;
    if (auto path = CreateNewConfig(state.cfg_dir, error)) {
        MakeCurrent(state, std::move(*path));
        EditCurrentConfig(state);
        return;
    }
    // Nothing was made, so nothing is selected, remembered or loaded: the
    // current choice stays as it was, and the balloon says why.
    ShowBalloon(state.tray_icon, FailureText(L"No new config could be made in", state.cfg_dir, ErrorCodeText(error)));
}

void SelectConfig(AppState& state, size_t index) {
    // The ids refer to the list as scanned when the menu was built; nothing
    // rescans it between building the menu and receiving its command.
    if (index < state.config_list.size()) MakeCurrent(state, state.config_list[index]);
}

}  // namespace

void RunMenuCommand(AppState& state, UINT id) {
    switch (id) {
        case ID_NEW_CONFIG: NewConfig(state); return;
        case ID_EDIT_CURRENT:
            if (!state.current_config.empty()) EditCurrentConfig(state);
            return;
        case ID_OPEN_CFG_FOLDER: StartShellLaunch(state.tray_icon, state.cfg_dir, L"", state.cfg_dir); return;
        case ID_QUIT: PostQuitMessage(0); return;
        default:
            if (id >= ID_CONFIG_BASE) SelectConfig(state, id - ID_CONFIG_BASE);
            return;
    }
}
