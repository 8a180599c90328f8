// Every common way an editor saves a file reaches the program: the new
// mapping is in force right after the save.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "e2e_support.h"
#include "support/wait.h"

namespace {

namespace fs = std::filesystem;

class FaultSavesTest : public DesktopTest {};

// One way of saving `text` as `file`; false when a step failed.
struct SaveStyle {
    const char* name;
    std::function<bool(const fs::path& file, const std::string& text)> save;
};

fs::path Beside(const fs::path& file, const wchar_t* suffix) { return fs::path(file.wstring() + suffix); }

// In the folder above CFG, beside the program.
fs::path Outside(const fs::path& file, const wchar_t* suffix) {
    return file.parent_path().parent_path() / (file.filename().wstring() + suffix);
}

const std::vector<SaveStyle>& SaveStyles() {
    static const std::vector<SaveStyle> styles = {
        // Every text below has the same length, so nothing of the old one is left over.
        {"write in place",
         [](const fs::path& file, const std::string& text) { return WriteWithWin32(file, text, OPEN_EXISTING); }},
        {"truncate and write",
         [](const fs::path& file, const std::string& text) { return WriteWithWin32(file, text, TRUNCATE_EXISTING); }},
        {"temporary file in CFG renamed over it",
         [](const fs::path& file, const std::string& text) {
             const fs::path temporary = Beside(file, L".tmp");
             return WriteWithWin32(temporary, text, CREATE_NEW) &&
                    MoveFileExW(temporary.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING);
         }},
        // Written outside the folder, so that only the rename itself can wake the program.
        {"temporary file from outside CFG moved over it",
         [](const fs::path& file, const std::string& text) {
             const fs::path temporary = Outside(file, L".tmp");
             return WriteWithWin32(temporary, text, CREATE_NEW) &&
                    MoveFileExW(temporary.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING);
         }},
        {"temporary file from outside CFG swapped in by ReplaceFileW",
         [](const fs::path& file, const std::string& text) {
             const fs::path temporary = Outside(file, L".new");
             return WriteWithWin32(temporary, text, CREATE_NEW) &&
                    ReplaceFileW(file.c_str(), temporary.c_str(), nullptr, 0, nullptr, nullptr);
         }},
        {"delete and create again",
         [](const fs::path& file, const std::string& text) {
             return DeleteFileW(file.c_str()) && WriteWithWin32(file, text, CREATE_NEW);
         }},
    };
    return styles;
}

TEST_F(FaultSavesTest, EachWayOfSavingTheCurrentFileIsPickedUp) {
    QuillfretRun run(L"fault-saves");
    const fs::path file = run.cfg() / L"current.json";
    ASSERT_TRUE(StartPlaying(run, 60));

    int note = 60;
    for (int round = 0; round < 2; ++round) {  // each style also after every other one
        for (const SaveStyle& style : SaveStyles()) {
            ++note;
            ASSERT_TRUE(style.save(file, NoteOnA(note))) << style.name << ": the save itself failed";
            EXPECT_TRUE(PlaysNote(run, note)) << style.name << ": the save did not reach the program";
        }
    }
    EXPECT_EQ(run.Quit(), 0u);
}

// Wine's file notifications come from the Linux kernel, so a save made by a
// Linux program (here mv, of a file written outside the folder) must reach
// the program as well.
TEST_F(FaultSavesTest, ARenameByALinuxProgramIsPickedUp) {
    QuillfretRun run(L"fault-saves-linux");
    const fs::path file = run.cfg() / L"current.json";
    const fs::path staged = run.folder() / L"staged.json";
    run.WriteCfgFile(L"current.json", NoteOnA(60));
    // Wine maps a path only when its folder exists.
    const std::optional<std::string> from = UnixPath(staged);
    const std::optional<std::string> to = UnixPath(file);
    if (!from || !to) GTEST_SKIP() << "needs Wine, to run a Linux program";
    ASSERT_TRUE(run.Start());
    ASSERT_TRUE(PlaysNote(run, 60));

    ASSERT_TRUE(WriteWithWin32(staged, NoteOnA(61), CREATE_NEW));
    StartLinuxProgram(L"mv", {*from, *to});
    ASSERT_TRUE(WaitUntil([&] { return !fs::exists(staged); }, kEventTimeout)) << "mv did not run";
    EXPECT_TRUE(PlaysNote(run, 61)) << "a rename by mv did not reach the program";
}

}  // namespace
