#include "app/tray_menu.h"

#include <string>
#include <utility>

#include "app/app_state.h"
#include "app/error_text.h"
#include "app/shell_launch.h"
#include "app/window_messages.h"
#include "config/config_name.h"
#include "config/new_config.h"

HMENU BuildConfigsMenu(const ConfigList& configs) {
    HMENU submenu = CreatePopupMenu();
    for (size_t i = 0; i < configs.size(); ++i) {
        const std::wstring text = MenuItemText(ConfigMenuLabel(configs[i]));
        InsertMenuW(submenu, static_cast<UINT>(i), MF_BYPOSITION | MF_STRING, ID_CONFIG_BASE + i, text.c_str());
    }
    return submenu;
}

namespace {

bool AppendItem(HMENU menu, UINT flags, UINT_PTR id, const wchar_t* label) {
    return InsertMenuW(menu, static_cast<UINT>(-1), MF_BYPOSITION | flags, id, label);
}

}  // namespace

// The menu calls' results are not acted on (a menu that fails to show leaves
// the program running as before), except that a submenu that could not be
// attached is destroyed on its own, so that no menu outlives this call.
void ShowTrayMenu(AppState& state) {
    POINT cursor{};
    GetCursorPos(&cursor);
    RescanCfgFolder(state);
    HMENU menu = CreatePopupMenu();
    HMENU configs = BuildConfigsMenu(state.config_list);
    AppendItem(menu, MF_STRING, ID_NEW_CONFIG, L"New Config");
    AppendItem(menu, MF_STRING, ID_EDIT_CURRENT, L"Edit Current");
    AppendItem(menu, MF_STRING, ID_OPEN_CFG_FOLDER, L"Open CFG Folder");
    if (!AppendItem(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(configs), L"Configs")) DestroyMenu(configs);
    AppendItem(menu, MF_STRING, ID_QUIT, L"Quit");
    SetForegroundWindow(state.window);
    TrackPopupMenu(menu, TPM_BOTTOMALIGN, cursor.x, cursor.y, 0, state.window, nullptr);
    DestroyMenu(menu);  // also destroys the attached "Configs" submenu
}

namespace {

// Starts Notepad on `current_config` on a thread of its own (see
// shell_launch.h), without waiting for it; a launch that fails says so in a
// balloon. A saved edit reaches the program through the folder watch.
void EditCurrentConfig(const TrayIcon& icon, const std::wstring& current_config) {
    StartShellLaunch(icon.record, L"notepad.exe", current_config, current_config);
}

void MakeCurrent(AppState& state, std::wstring path) {
    state.current_config = std::move(path);
    SaveLastConfig(state.last_config_path, state.current_config);
    PutCurrentConfigInForce(state);
}

void NewConfig(AppState& state) {
    std::error_code error;
    if (auto path = CreateNewConfig(state.cfg_dir, error)) {
        MakeCurrent(state, std::move(*path));
        EditCurrentConfig(state.tray_icon, state.current_config);
        return;
    }
    // Nothing was made, so nothing is selected, remembered or loaded: the
    // current choice stays as it was, and the balloon says why.
    ShowBalloon(state.tray_icon.record,
                FailureText(L"No new config could be made in", state.cfg_dir, ErrorCodeText(error)));
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
            if (!state.current_config.empty()) EditCurrentConfig(state.tray_icon, state.current_config);
            return;
        case ID_OPEN_CFG_FOLDER: StartShellLaunch(state.tray_icon.record, state.cfg_dir, L"", state.cfg_dir); return;
        case ID_QUIT: PostQuitMessage(0); return;
        default:
            if (id >= ID_CONFIG_BASE) SelectConfig(state, id - ID_CONFIG_BASE);
            return;
    }
}
