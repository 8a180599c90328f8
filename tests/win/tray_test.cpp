// The tray's Win32 edge: balloons, the "Configs" submenu, and the hidden
// window: the icon added again when the taskbar restarts, a destruction from
// outside.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/app_state.h"
#include "app/hidden_window.h"
#include "app/main_loop.h"
#include "app/port_wait.h"
#include "app/tray_icon.h"
#include "app/tray_menu.h"
#include "app/window_messages.h"
#include "support/desktop.h"
#include "support/dialogs.h"
#include "win_test_support.h"

namespace {

TEST(BalloonTest, TheRecordNamesTheIconAndCarriesOnlyTheBalloon) {
    NOTIFYICONDATAW icon{};
    icon.cbSize = sizeof(icon);
    icon.hWnd = reinterpret_cast<HWND>(0x1234);
    icon.uID = 1;
    icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    const NOTIFYICONDATAW balloon = BalloonRecord(icon, L"Could not open\nC:\\CFG\nAccess is denied.");
    EXPECT_EQ(balloon.cbSize, sizeof(NOTIFYICONDATAW));
    EXPECT_EQ(balloon.hWnd, icon.hWnd);
    EXPECT_EQ(balloon.uID, 1u);
    EXPECT_EQ(balloon.uFlags, static_cast<UINT>(NIF_INFO)) << "the icon, its tip and callback stay as they are";
    EXPECT_EQ(std::wstring(balloon.szInfoTitle), L"Quillfret");
    EXPECT_EQ(std::wstring(balloon.szInfo), L"Could not open\nC:\\CFG\nAccess is denied.");
    EXPECT_EQ(std::wstring(BalloonRecord(icon, std::wstring(300, L'x')).szInfo), std::wstring(255, L'x'));
}

TEST(BalloonTest, ALongPathLosesItsStartNotItsNameNorTheReason) {
    EXPECT_EQ(FailureText(L"Could not open", L"C:\\CFG", L"Access is denied."),
              L"Could not open\nC:\\CFG\nAccess is denied.");
    const std::wstring text = FailureText(L"Could not open", L"C:\\" + std::wstring(300, L'd') + L"\\CFG", L"Denied.");
    EXPECT_EQ(text.size(), 255u);
    EXPECT_TRUE(text.starts_with(L"Could not open\n\u2026ddd")) << text.substr(0, 20).c_str();
    EXPECT_TRUE(text.ends_with(L"ddd\\CFG\nDenied."));
}

// A load's message keeps what it says of the file whole; a long file name
// loses its start.
TEST(BalloonTest, ALongFileNameLosesItsStartNotWhatIsSaidOfIt) {
    const std::wstring about = L" is not in force:\nmappings[0].velocity: a string where a number is expected";
    EXPECT_EQ(LoadNewsText({L"a.json", about}), L"a.json" + about);
    const std::wstring text = LoadNewsText({std::wstring(300, L'n') + L".json", about});
    EXPECT_EQ(text.size(), 255u);
    EXPECT_TRUE(text.starts_with(L"\u2026nnn"));
    EXPECT_TRUE(text.ends_with(L"nnn.json" + about));
}

// A menu shows "&&" as "&": the item's text must hold each "&" doubled.
TEST(ConfigsMenuTest, ANameWithAnAmpersandIsShownAsItIs) {
    HMENU menu = BuildConfigsMenu({L"C:\\CFG\\a.json", L"C:\\CFG\\Rock&Roll.json"});
    wchar_t text[64] = {};
    GetMenuStringW(menu, ID_CONFIG_BASE + 1, text, static_cast<int>(std::size(text)), MF_BYCOMMAND);
    EXPECT_EQ(std::wstring(text), L"Rock&&Roll");
    GetMenuStringW(menu, ID_CONFIG_BASE, text, static_cast<int>(std::size(text)), MF_BYCOMMAND);
    EXPECT_EQ(std::wstring(text), L"a");
    DestroyMenu(menu);
}

class TrayWindowTest : public testing::Test {
protected:
    void SetUp() override {
        if (!HasDisplay()) GTEST_SKIP() << "needs a display (run under xvfb-run)";
        ASSERT_EQ(CreateHiddenWindow(state_, GetModuleHandleW(nullptr)), static_cast<DWORD>(ERROR_SUCCESS));
        ASSERT_NE(state_.window, nullptr);
    }

    // The window must not outlive the state it works on; its destruction
    // posts the quit message, taken here so that no later test sees it.
    void TearDown() override {
        if (IsWindow(state_.window)) DestroyWindow(state_.window);
        PumpMessages();
    }

    AppState state_;
};

TEST_F(TrayWindowTest, AnIconThatCouldNotBeAddedAtStartUpIsAddedWithItsTipWhenTheTaskbarStarts) {
    ASSERT_TRUE(IconShown(state_.window));
    TellPause(state_.tray_icon, PauseChange::Paused, "Pause");
    // As if there had been no taskbar at start-up: no icon, no record.
    ASSERT_TRUE(LoseTrayIcon(state_.window));
    state_.tray_icon.record = NOTIFYICONDATAW{};

    SendMessageW(state_.window, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(IconShown(state_.window));
    EXPECT_NE(state_.tray_icon.record.cbSize, 0u) << "the icon is not kept for its removal";
    EXPECT_EQ(std::wstring(state_.tray_icon.record.szTip), L"Quillfret (paused)") << "the tip is not kept";

    DestroyWindow(state_.window);  // releases the icon
    EXPECT_FALSE(IconShown(state_.window));
}

TEST_F(TrayWindowTest, AWindowDestroyedFromOutsideReleasesEverythingAndEndsTheLoop) {
    state_.cfg_dir = std::filesystem::temp_directory_path().wstring();
    StartCfgWatch(state_.cfg_folder, state_.cfg_dir);
    ASSERT_NE(state_.cfg_folder.watch, nullptr);
    ASSERT_NE(state_.tray_icon.record.cbSize, 0u) << "the tray icon was not added";
    DestroyWindow(state_.window);
    RunMainLoop(state_);  // returns: the destruction ended the loop
    EXPECT_EQ(state_.cfg_folder.watch, nullptr);
    EXPECT_EQ(state_.tray_icon.record.cbSize, 0u);
}

// While it waits for its port, the icon's tip names the port it waits for;
// Quit in the menu ends the wait.
TEST_F(TrayWindowTest, WaitingForThePortTheTipNamesItUntilQuit) {
    state_.midi_device = L"Stage Synth";  // this prefix has no MIDI port
    PostMessageW(state_.window, WM_COMMAND, ID_QUIT, 0);
    EXPECT_EQ(WaitForPort(state_, 30), PortWaitEnd::Quit);
    EXPECT_EQ(std::wstring(state_.tray_icon.record.szTip), L"Quillfret (waiting for Stage Synth)");
}

}  // namespace
