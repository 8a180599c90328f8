// The files the program reads go away, come back or are locked while it runs.

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "fault_support.h"
#include "support/dialogs.h"
#include "support/wait.h"

namespace {

namespace fs = std::filesystem;

class FaultFilesTest : public DesktopTest {};

TEST_F(FaultFilesTest, ADeletedCurrentFileKeepsItsMappingsAndIsReadAgainWhenRestored) {
    QuillfretRun run(L"fault-deleted");
    run.WriteCfgFile(L"current.json", NoteOnA(60));
    ASSERT_TRUE(run.Start());
    ASSERT_TRUE(PlaysNote(run, 60));

    ASSERT_TRUE(DeleteFileW((run.cfg() / L"current.json").c_str()));
    std::this_thread::sleep_for(500ms);  // several reload delays
    EXPECT_TRUE(PlaysNote(run, 60)) << "the mappings of a deleted file stay in force";

    ASSERT_TRUE(WriteWithWin32(run.cfg() / L"current.json", NoteOnA(62), CREATE_NEW));
    EXPECT_TRUE(PlaysNote(run, 62)) << "the restored file was not read";
}

TEST_F(FaultFilesTest, ACfgFolderDeletedWhileRunningIsMadeAgainByTheNextMenu) {
    QuillfretRun run(L"fault-cfg-deleted");
    run.WriteCfgFile(L"current.json", NoteOnA(60));
    ASSERT_TRUE(run.Start());
    ASSERT_TRUE(PlaysNote(run, 60));

    fs::remove_all(run.cfg());
    std::this_thread::sleep_for(500ms);
    ASSERT_NE(run.window(), nullptr) << "the program ended";
    EXPECT_TRUE(PlaysNote(run, 60)) << "the mappings stay in force";

    run.Post(WM_APP_TRAY, 0, WM_RBUTTONUP);
    HWND menu = WaitForTopWindow(L"#32768", std::nullopt, kEventTimeout);
    EXPECT_NE(menu, nullptr) << "the menu did not open";
    run.Post(WM_CANCELMODE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return fs::is_directory(run.cfg()); }, kEventTimeout)) << "CFG was not made again";
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(FindTopWindow(L"#32768")); }, kEventTimeout));

    // The folder is watched again: a file saved into it is picked up.
    ASSERT_TRUE(WriteWithWin32(run.cfg() / L"current.json", NoteOnA(62), CREATE_NEW));
    EXPECT_TRUE(PlaysNote(run, 62)) << "a save in the new CFG folder was not picked up";
    EXPECT_EQ(run.Quit(), 0u);
}

TEST_F(FaultFilesTest, AFileHeldOpenExclusivelyEmptiesTheTableUntilTheNextSave) {
    QuillfretRun run(L"fault-locked");
    run.WriteCfgFile(L"current.json", NoteOnA(60));
    ASSERT_TRUE(run.Start());
    ASSERT_TRUE(PlaysNote(run, 60));

    // Another program opens it without sharing and writes it: the program
    // sees the new time but cannot read the file.
    const fs::path file = run.cfg() / L"current.json";
    HANDLE locked = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, 0, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    const std::string text = NoteOnA(62);
    DWORD written = 0;
    WriteFile(locked, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    EXPECT_TRUE(PlaysNothing(run)) << "a file that cannot be opened must leave the table empty";
    CloseHandle(locked);
    std::this_thread::sleep_for(500ms);
    EXPECT_TRUE(PlaysNothing(run)) << "the same time is not read again";

    ASSERT_TRUE(WriteWithWin32(file, NoteOnA(64), TRUNCATE_EXISTING));
    EXPECT_TRUE(PlaysNote(run, 64)) << "the next save was not picked up";
    EXPECT_NE(run.window(), nullptr);
}

}  // namespace
