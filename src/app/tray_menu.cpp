#include "app/tray_menu.h"

#include "app/cfg_folder.h"
#include "app/window_messages.h"
#include "config/config_name.h"

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
