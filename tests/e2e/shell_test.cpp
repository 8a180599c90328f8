// What a resident program meets on a desktop: a taskbar that restarts, and
// commands that fail, which say so in a balloon on the tray icon.

#include <windows.h>
#include <gtest/gtest.h>
#include <shellapi.h>

#include <filesystem>
#include <string>
#include <vector>

#include "e2e_support.h"
#include "quillfret_run.h"
#include "support/dialogs.h"
#include "support/wait.h"

namespace fs = std::filesystem;

namespace {

class ShellTest : public DesktopTest {};

TEST_F(ShellTest, ATaskbarRestartGetsTheIconBackWithItsMenu) {
    QuillfretRun run(L"shell-taskbar");
    ASSERT_TRUE(run.Start());
    ASSERT_TRUE(WaitUntil([&] { return IconShown(run.window()); }, kEventTimeout)) << "no icon at start-up";

    ASSERT_TRUE(LoseTrayIcon(run.window()));
    ASSERT_FALSE(IconShown(run.window()));
    run.Post(RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return IconShown(run.window()); }, kEventTimeout)) << "the icon did not come back";

    run.Post(WM_APP_TRAY, 0, WM_RBUTTONUP);
    EXPECT_TRUE(WaitUntil([] { return IsWindowVisible(FindTopWindow(L"#32768")) != FALSE; }, kEventTimeout))
        << "the menu did not open";
    run.Post(WM_CANCELMODE, 0, 0);
    EXPECT_EQ(run.Quit(), 0u);
}

// With CFG gone, Open CFG Folder and New Config fail: each says so in a
// balloon naming the folder and the system's reason. New Config then
// selects, remembers and loads nothing: once CFG is back, the file that was
// current plays again.
TEST_F(ShellTest, FailedCommandsSayWhyInABalloonAndChangeNothing) {
    QuillfretRun run(L"shell-balloon");
    if (!UnixPath(run.folder())) GTEST_SKIP() << "needs Wine, to run a Linux program";
    run.WriteCfgFile(L"a.json", NoteOnA(60));
    ASSERT_TRUE(run.Start());
    ASSERT_TRUE(PlaysNote(run, 60));
    ASSERT_TRUE(RemoveFromLinux(run.cfg()));

    const std::wstring cfg = run.cfg().wstring();
    run.Post(WM_COMMAND, ID_OPEN_CFG_FOLDER, 0);
    const std::wstring open_failed = WaitForBalloon(L"Could not open\n" + cfg + L"\n");
    EXPECT_GT(open_failed.size(), (L"Could not open\n" + cfg + L"\n").size()) << "no balloon or no reason";
    run.Post(WM_COMMAND, ID_NEW_CONFIG, 0);
    const std::wstring new_failed = WaitForBalloon(L"No new config could be made in\n" + cfg + L"\n");
    EXPECT_GT(new_failed.size(), (L"No new config could be made in\n" + cfg + L"\n").size())
        << "no balloon or no reason";
    EXPECT_TRUE(PlaysNote(run, 60)) << "the mappings in force changed";

    ASSERT_TRUE(fs::create_directory(run.cfg()));
    ASSERT_TRUE(WriteWithWin32(run.cfg() / L"a.json", NoteOnA(62), CREATE_NEW));
    EXPECT_TRUE(PlaysNote(run, 62)) << "a.json is no longer current";
    EXPECT_FALSE(fs::exists(run.cfg() / L"last_config.txt"));
    EXPECT_EQ(FindTopWindow(L"Notepad"), nullptr);
    EXPECT_EQ(run.Quit(), 0u);
}

// Quit right after a launch: the launch's thread keeps nothing from ending.
TEST_F(ShellTest, QuitWhileALaunchRunsEndsWithCode0) {
    QuillfretRun run(L"shell-quit");
    run.WriteCfgFile(L"a.json", NoteOnA(60));
    ASSERT_TRUE(run.Start());
    run.Post(WM_COMMAND, ID_EDIT_CURRENT, 0);
    run.Post(WM_COMMAND, ID_QUIT, 0);
    EXPECT_EQ(WaitForExit(run.process(), kEventTimeout), 0u);
    // The Notepad of a launch that was done before the end.
    if (HWND notepad = WaitForTopWindow(L"Notepad", L"a.json - Notepad", 3s)) {
        PostMessageW(notepad, WM_CLOSE, 0, 0);
    }
}

}  // namespace
