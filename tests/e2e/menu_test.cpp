// The tray menu and its commands, driven by the messages the shell and the
// menu would send to the program's window.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "e2e_support.h"
#include "quillfret_run.h"
#include "support/dialogs.h"
#include "support/input.h"
#include "support/test_files.h"
#include "support/wait.h"

namespace {

// The note byte (hex) of the note-on that pressing A sends now; empty when
// it sends none. A note-off of the press before, if late, is passed over.
std::string NoteOfA(const QuillfretRun& run) {
    const size_t before = run.Sent().size();
    PressKey('A');
    WaitUntil([&] { return run.Sent().size() >= before + 2; }, 1s);
    const auto sent = run.Sent();
    const auto note_on = std::find_if(sent.begin() + static_cast<std::ptrdiff_t>(std::min(before, sent.size())),
                                      sent.end(), [](const std::string& message) { return message.starts_with("90"); });
    return note_on != sent.end() ? note_on->substr(3, 2) : "";
}

// The titles of the top-level windows of this class.
std::vector<std::wstring> TopWindowCaptions(const std::wstring& class_name) {
    struct Search {
        const std::wstring& class_name;
        std::vector<std::wstring> captions;
    } search{class_name, {}};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto& search = *reinterpret_cast<Search*>(data);
            wchar_t name[64] = {};
            GetClassNameW(window, name, static_cast<int>(std::size(name)));
            if (search.class_name == name) search.captions.push_back(WindowCaption(window));
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.captions;
}

HWND WaitForPopupMenu(std::chrono::milliseconds timeout) {
    HWND menu = nullptr;
    WaitUntil([&] { return (menu = FindTopWindow(L"#32768")) != nullptr && IsWindowVisible(menu); }, timeout);
    return menu != nullptr && IsWindowVisible(menu) ? menu : nullptr;
}

class MenuTest : public DesktopTest {};

TEST_F(MenuTest, RightButtonReleaseOnTheIconOpensTheMenuWithQuitLast) {
    QuillfretRun run(L"menu-open");
    ASSERT_TRUE(run.Start());
    for (LPARAM other : {WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_MOUSEMOVE}) {
        run.Post(WM_APP_TRAY, 0, other);
    }
    EXPECT_EQ(WaitForPopupMenu(500ms), nullptr) << "only a right-button release opens the menu";

    run.Post(WM_APP_TRAY, 0, WM_RBUTTONUP);
    ASSERT_NE(WaitForPopupMenu(kEventTimeout), nullptr);
    // Five items: the fifth from the top is Quit.
    for (int i = 0; i < 5; ++i) PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    EXPECT_EQ(WaitForExit(run.process(), kEventTimeout), 0u);
}

// Chooses entry `position` (from 1) of the "Configs" submenu with the keyboard.
void ChooseFromConfigsSubmenu(const QuillfretRun& run, int position) {
    run.Post(WM_APP_TRAY, 0, WM_RBUTTONUP);
    ASSERT_NE(WaitForPopupMenu(kEventTimeout), nullptr);
    for (int i = 0; i < 4; ++i) PressKey(VK_DOWN);  // the fourth item is "Configs"
    PressKey(VK_RIGHT);                             // opens it on its first entry
    for (int i = 1; i < position; ++i) PressKey(VK_DOWN);
    PressKey(VK_RETURN);
}

TEST_F(MenuTest, TheConfigsSubmenuListsEveryFileAndSelectsIt) {
    QuillfretRun run(L"menu-configs");
    run.WriteCfgFile(L"a.json", NoteOnA(60));
    ASSERT_TRUE(run.Start());
    ASSERT_EQ(NoteOfA(run), "3c");
    run.WriteCfgFile(L"b.json", NoteOnA(62));  // added while running: in the next menu
    std::vector<std::string> chosen;
    for (int position : {1, 2}) {
        std::filesystem::remove(run.cfg() / L"last_config.txt");
        ChooseFromConfigsSubmenu(run, position);
        EXPECT_TRUE(WaitUntil([&] { return std::filesystem::exists(run.cfg() / L"last_config.txt"); }, kEventTimeout));
        chosen.push_back(NoteOfA(run));
    }
    std::sort(chosen.begin(), chosen.end());
    EXPECT_EQ(chosen, (std::vector<std::string>{"3c", "3e"}));
}

TEST_F(MenuTest, SelectingAConfigMakesItCurrentRemembersAndLoadsIt) {
    QuillfretRun run(L"menu-select");
    run.WriteCfgFile(L"a.json", NoteOnA(60));
    run.WriteCfgFile(L"b.json", NoteOnA(62));
    ASSERT_TRUE(run.Start());
    // With nothing remembered the first catalogue entry is current, and not remembered.
    const std::string first = NoteOfA(run);
    ASSERT_TRUE(first == "3c" || first == "3e") << first;
    EXPECT_FALSE(std::filesystem::exists(run.cfg() / L"last_config.txt"));
    const std::wstring second_file = first == "3c" ? L"b.json" : L"a.json";

    run.Post(WM_COMMAND, ID_CONFIG_BASE + 5, 0);  // beyond the list: ignored
    run.Post(WM_COMMAND, ID_CONFIG_BASE + 1, 0);
    EXPECT_TRUE(WaitUntil([&] { return NoteOfA(run) != first; }, kEventTimeout));
    EXPECT_EQ(NoteOfA(run), first == "3c" ? "3e" : "3c");
    const std::string remembered = ReadBytes(run.cfg() / L"last_config.txt");
    EXPECT_NE(remembered.find(std::string(second_file.begin(), second_file.end())), std::string::npos) << remembered;

    // The choice survives a restart.
    ASSERT_EQ(run.Quit(), 0u);
    ASSERT_TRUE(run.Start());
    EXPECT_EQ(NoteOfA(run), first == "3c" ? "3e" : "3c");
}

TEST_F(MenuTest, NewConfigCreatesSelectsRemembersLoadsAndOpensIt) {
    QuillfretRun run(L"menu-new");
    run.WriteCfgFile(L"a.json", NoteOnA(60));
    ASSERT_TRUE(run.Start());
    ASSERT_EQ(NoteOfA(run), "3c");

    run.Post(WM_COMMAND, ID_NEW_CONFIG, 0);
    HWND notepad = WaitForTopWindow(L"Notepad", L"Config_1.json - Notepad", kStartTimeout);
    EXPECT_NE(notepad, nullptr) << "Notepad did not open the new file";
    EXPECT_TRUE(std::filesystem::exists(run.cfg() / L"Config_1.json"));
    EXPECT_NE(ReadBytes(run.cfg() / L"last_config.txt").find("Config_1.json"), std::string::npos);
    EXPECT_EQ(NoteOfA(run), "") << "the new, empty file is in force";
    if (notepad) PostMessageW(notepad, WM_CLOSE, 0, 0);

    ASSERT_EQ(run.Quit(), 0u);
    ASSERT_TRUE(run.Start());
    EXPECT_EQ(NoteOfA(run), "") << "the new file is still current after a restart";
}

TEST_F(MenuTest, EditCurrentOpensTheCurrentFileInNotepad) {
    QuillfretRun run(L"menu-edit");
    run.WriteCfgFile(L"a.json", NoteOnA(60));
    ASSERT_TRUE(run.Start());
    run.Post(WM_COMMAND, ID_EDIT_CURRENT, 0);
    HWND notepad = WaitForTopWindow(L"Notepad", L"a.json - Notepad", kStartTimeout);
    EXPECT_NE(notepad, nullptr);
    if (notepad) PostMessageW(notepad, WM_CLOSE, 0, 0);
}

TEST_F(MenuTest, EditCurrentWithoutACurrentFileDoesNothing) {
    QuillfretRun run(L"menu-edit-none");
    ASSERT_TRUE(run.Start());
    run.Post(WM_COMMAND, ID_EDIT_CURRENT, 0);
    // New Config opens its file in Notepad: once that window is there, the
    // command posted before it was handled, and a Notepad it started would
    // have come first.
    run.Post(WM_COMMAND, ID_NEW_CONFIG, 0);
    HWND notepad = WaitForTopWindow(L"Notepad", L"Config_1.json - Notepad", kStartTimeout);
    ASSERT_NE(notepad, nullptr) << "New Config opened no Notepad";
    EXPECT_EQ(TopWindowCaptions(L"Notepad"), std::vector<std::wstring>{L"Config_1.json - Notepad"});
    PostMessageW(notepad, WM_CLOSE, 0, 0);
}

TEST_F(MenuTest, OpenCfgFolderShowsTheFolder) {
    QuillfretRun run(L"menu-folder");
    ASSERT_TRUE(run.Start());
    run.Post(WM_COMMAND, ID_OPEN_CFG_FOLDER, 0);
    HWND explorer = WaitForTopWindow(L"ExplorerWClass", L"CFG", kStartTimeout);
    EXPECT_NE(explorer, nullptr);
    if (explorer) PostMessageW(explorer, WM_CLOSE, 0, 0);
}

}  // namespace
