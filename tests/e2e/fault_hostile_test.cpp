// Hostile files saved while the program runs: it keeps running, the hooks
// keep answering (keys still reach the focused window of another program),
// and the next good save plays again.

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "e2e_support.h"

namespace {

struct HostileFile {
    const char* name;
    std::string content;
    int note_of_a;  // what A plays once the file is read; 0: nothing
};

std::vector<HostileFile> HostileFiles() {
    const std::string one = R"({"key":"65","note":70})";
    std::string huge = R"({"mappings":[)" + one + "]}";
    huge.append(50u << 20, ' ');  // 50 MB of valid padding
    std::string million = R"({"mappings":[)";
    for (int i = 0; i < 1000000; ++i) million += R"({"key":"66"},)";
    million += one + "]}";
    // The size limit itself: 1 MiB of the smallest entries still loads.
    std::string limit = R"({"mappings":[)";
    while (limit.size() < 1'048'500) limit += R"({"key":"66"},)";
    limit += one + "]}";
    limit.resize(1'048'576, ' ');
    return {
        {"50 MB file", huge, 0},
        {"nested 100,000 deep", R"({"x":)" + std::string(100000, '[') + std::string(100000, ']') + "}", 0},
        {"a million entries (13 MB)", million, 0},
        {"1 MiB of entries", limit, 70},
        {"binary garbage", std::string("\x00\xFF\x7B\x22\x01\x80\xFE\x1A", 8), 0},
        {"invalid UTF-8", "{\"mappings\":[" + one + ",{\"key\":\"\xC3\x28\"}]}", 0},
    };
}

class FaultHostileTest : public DesktopTest {};

TEST_F(FaultHostileTest, HostileSavesLeaveTheProgramRunningAndPlaying) {
    QuillfretRun run(L"fault-hostile");
    const auto file = run.cfg() / L"current.json";
    ASSERT_TRUE(StartPlaying(run, 60));

    int note = 60;
    for (const HostileFile& hostile : HostileFiles()) {
        // Written elsewhere and moved in whole: a reload in the middle of a
        // long write would read a part of it.
        const auto staged = run.folder() / L"staged.json";
        ASSERT_TRUE(WriteWithWin32(staged, hostile.content, CREATE_ALWAYS)) << hostile.name;
        ASSERT_TRUE(MoveFileExW(staged.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING)) << hostile.name;
        // A large file takes a while to read (the thread, hooks included, is
        // busy meanwhile): wait until the program answers again.
        std::this_thread::sleep_for(500ms);
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(run.window(), WM_NULL, 0, 0, SMTO_NORMAL, 120000, &ignored);
        EXPECT_TRUE(hostile.note_of_a == 0 ? PlaysNothing(run) : PlaysNote(run, hostile.note_of_a)) << hostile.name;
        ASSERT_NE(run.window(), nullptr) << hostile.name << " ended the program";
        ASSERT_TRUE(WriteWithWin32(file, NoteOnA(++note), CREATE_ALWAYS));
        EXPECT_TRUE(PlaysNote(run, note)) << "no longer plays after the " << hostile.name;
    }
    EXPECT_EQ(run.Quit(), 0u);
}

// A remembered selection naming a device: reading it would block the one
// thread that also runs the hooks.
TEST_F(FaultHostileTest, ARememberedSelectionNamingADeviceDoesNotBlockStartUp) {
    QuillfretRun run(L"fault-last-config-con");
    run.WriteCfgFile(L"a.json", NoteOnA(60));
    run.WriteCfgFile(L"last_config.txt", "CON");
    ASSERT_TRUE(run.Start());
    DWORD_PTR ignored = 0;
    EXPECT_NE(SendMessageTimeoutW(run.window(), WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored), 0)
        << "the program does not answer";
    // No file named "CON" is found, so the device is not taken: the
    // catalogue's first file is current and A plays it.
    EXPECT_TRUE(PlaysNote(run, 60));
    EXPECT_EQ(run.Quit(), 0u);
}

}  // namespace
