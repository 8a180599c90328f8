// The files the program reads go away, come back or are locked while it runs.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>

#include "e2e_support.h"
#include "support/dialogs.h"
#include "support/wait.h"

namespace {

namespace fs = std::filesystem;

class FaultFilesTest : public DesktopTest {};

TEST_F(FaultFilesTest, ADeletedCurrentFileKeepsItsMappingsAndIsReadAgainWhenRestored) {
    QuillfretRun run(L"fault-deleted");
    ASSERT_TRUE(StartPlaying(run, 60));

    ASSERT_TRUE(DeleteFileW((run.cfg() / L"current.json").c_str()));
    std::this_thread::sleep_for(500ms);  // several reload delays
    EXPECT_TRUE(PlaysNote(run, 60)) << "the mappings of a deleted file stay in force";

    ASSERT_TRUE(WriteWithWin32(run.cfg() / L"current.json", NoteOnA(62), CREATE_NEW));
    EXPECT_TRUE(PlaysNote(run, 62)) << "the restored file was not read";
}

TEST_F(FaultFilesTest, ACfgFolderDeletedAndMadeAgainIsWatchedAgain) {
    QuillfretRun run(L"fault-cfg-deleted");
    if (!UnixPath(run.folder())) GTEST_SKIP() << "needs Wine, to run a Linux program";
    ASSERT_TRUE(StartPlaying(run, 60));

    // Made again by the menu.
    ASSERT_TRUE(RemoveFromLinux(run.cfg()));
    std::this_thread::sleep_for(500ms);
    ASSERT_NE(run.window(), nullptr) << "the program ended";
    EXPECT_TRUE(PlaysNote(run, 60)) << "the mappings stay in force";
    run.Post(WM_APP_TRAY, 0, WM_RBUTTONUP);
    EXPECT_NE(WaitForTopWindow(L"#32768", std::nullopt, kEventTimeout), nullptr) << "the menu did not open";
    run.Post(WM_CANCELMODE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return fs::is_directory(run.cfg()); }, kEventTimeout)) << "CFG was not made again";
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(FindTopWindow(L"#32768")); }, kEventTimeout));
    ASSERT_TRUE(WriteWithWin32(run.cfg() / L"current.json", NoteOnA(62), CREATE_NEW));
    EXPECT_TRUE(PlaysNote(run, 62)) << "a save in the CFG made by the menu was not picked up";

    // Made again from outside. The first save may also arrive with the load
    // that follows a new watch; the second can only come through the watch.
    // The folder is made again only once the program has let the old one's
    // watch go: made earlier, its name would stand for a folder still
    // watched. A press handled after the deletion's wake, then one after the
    // reload's delay: the program reloads before it handles that one.
    ASSERT_TRUE(RemoveFromLinux(run.cfg()));
    std::this_thread::sleep_for(500ms);
    ASSERT_TRUE(PlaysNote(run, 62));
    std::this_thread::sleep_for(200ms);
    ASSERT_TRUE(PlaysNote(run, 62));
    ASSERT_TRUE(fs::create_directory(run.cfg()));
    ASSERT_TRUE(WriteWithWin32(run.cfg() / L"current.json", NoteOnA(64), CREATE_NEW));
    const PlayedOn played = PlayOnUntilHeard(run, 64);
    EXPECT_TRUE(played.heard) << "a save in the CFG made from outside was not picked up";
    std::printf("figure: made from outside and saved to heard %.0f ms\n", played.seconds * 1000);
    ASSERT_TRUE(WriteWithWin32(run.cfg() / L"current.json", NoteOnA(66), TRUNCATE_EXISTING));
    EXPECT_TRUE(PlaysNote(run, 66)) << "the CFG made from outside is not watched";
    EXPECT_EQ(run.Quit(), 0u);
}

// Another program (a scanner, a sync tool) holds the file without sharing
// while it writes it: the table is empty while it is held, and the file is
// read as soon as it is freed, although its time does not change then.
TEST_F(FaultFilesTest, AFileHeldWhileItIsSavedIsReadOnceFreed) {
    QuillfretRun run(L"fault-locked");
    ASSERT_TRUE(StartPlaying(run, 60));

    HANDLE locked = HoldWhileWriting(run.cfg() / L"current.json", NoteOnA(62));
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(PlaysNothing(run)) << "a file that cannot be opened must leave the table empty";
    CloseHandle(locked);
    const PlayedOn played = PlayOnUntilHeard(run, 62);
    EXPECT_TRUE(played.heard) << "the file was not read once it was freed";
    std::printf("figure: freed to heard %.0f ms\n", played.seconds * 1000);
    EXPECT_EQ(run.Quit(), 0u);
}

}  // namespace
