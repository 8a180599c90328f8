// Edits of the current mapping file take effect while the program runs.

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "e2e_support.h"
#include "quillfret_run.h"
#include "support/test_files.h"
#include "support/wait.h"

namespace {

using Added = std::vector<std::string>;

constexpr const char* kBroken = R"({"mappings": [{"key": "65", "note": 60})";

class HotReloadTest : public DesktopTest {};

TEST_F(HotReloadTest, TheCurrentFileIsReloadedWhenValidBrokenAndFixedAgain) {
    QuillfretRun run(L"reload-current");
    ASSERT_TRUE(StartPlaying(run, 60));

    run.WriteCfgFile(L"current.json", NoteOnA(62));
    EXPECT_TRUE(PlaysNote(run, 62)) << "valid edit not picked up";

    run.WriteCfgFile(L"current.json", kBroken);
    EXPECT_TRUE(PlaysNothing(run)) << "broken file kept mappings";
    EXPECT_NE(run.window(), nullptr) << "a broken file must not end the program";

    run.WriteCfgFile(L"current.json", NoteOnA(64));
    EXPECT_TRUE(PlaysNote(run, 64)) << "fixed file not picked up";
}

TEST_F(HotReloadTest, WritesOfOtherFilesDoNotReloadTheCurrentOne) {
    QuillfretRun run(L"reload-others");
    run.WriteCfgFile(L"current.json", R"({"mappings": [{"key": "66", "note": 62, "mode": "toggle"}]})");
    ASSERT_TRUE(run.Start());
    PressKey('B');
    ASSERT_EQ(run.WaitForSent(1), (Added{NoteOnHex(62)}));

    // A reload would lose the toggle's state, and the next press would switch on again.
    run.WriteCfgFile(L"other.json", NoteOnA(61));
    run.WriteCfgFile(L"KeyMapping.cfg", "Key_A 65\n");
    std::filesystem::create_directories(run.cfg() / L"sub");
    run.WriteCfgFile(L"sub\\current.json", NoteOnA(61));
    std::this_thread::sleep_for(1s);  // several reload delays
    PressKey('B');
    EXPECT_EQ(run.WaitForSent(2), (Added{NoteOnHex(62), NoteOffHex(62)}));
}

TEST_F(HotReloadTest, AFileSavedByRenameIsReloaded) {
    QuillfretRun run(L"reload-rename");
    ASSERT_TRUE(StartPlaying(run, 60));

    // Written outside the folder, then moved over the current file.
    const auto staged = run.folder() / L"staged.json";
    WriteBytes(staged, NoteOnA(62));
    ASSERT_TRUE(MoveFileExW(staged.c_str(), (run.cfg() / L"current.json").c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_TRUE(PlaysNote(run, 62));
}

// The reload waits 100 ms after the change; input keeps flowing meanwhile, so
// a key pressed right after the save is still played with the old mapping.
// (A loop that slept through the pause would handle the key only after the
// reload.) The machine may stall the test for longer than the pause now and
// then, so one press of three played early is enough.
TEST_F(HotReloadTest, InputIsHandledDuringThePauseBeforeAReload) {
    QuillfretRun run(L"reload-no-stall");
    ASSERT_TRUE(StartPlaying(run, 60));

    int played_before_reload = 0;
    for (int round = 0; round < 3; ++round) {
        const int old_note = 60 + round;
        const size_t before = run.Sent().size();
        run.WriteCfgFile(L"current.json", NoteOnA(old_note + 1));
        PressKey('A');
        const auto sent = run.WaitForSent(before + 2);
        ASSERT_GE(sent.size(), before + 2);
        if (sent[before] == NoteOnHex(old_note)) ++played_before_reload;
        ASSERT_TRUE(PlaysNote(run, old_note + 1));
    }
    EXPECT_GE(played_before_reload, 1);
}

}  // namespace
