// Started at logon before its MIDI port is there: with "--wait-for-port
// SECONDS" the program waits for the port with its icon and without hooks,
// and plays once the port opens; when the time runs out it ends as a missing
// port always did. The virtual port is listed but unplugged (Wine's winmm
// reads the device list once), so it refuses to open until it is plugged in.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "e2e_support.h"
#include "support/dialogs.h"
#include "support/hook_removal.h"
#include "support/virtual_midi.h"
#include "support/wait.h"

namespace {

namespace fs = std::filesystem;

class PortWaitTest : public DesktopTest {
protected:
    void TearDown() override { SetEnvironmentVariableW(vmidi::kUnplugWhileVariable, nullptr); }

    // The port unplugged from the start; the program inherits the variable.
    void Unplug() {
        CloseHandle(CreateFileW(unplugged_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        SetEnvironmentVariableW(vmidi::kUnplugWhileVariable, unplugged_.c_str());
    }

    QuillfretRun run_{L"port-wait"};
    const fs::path unplugged_ = run_.folder() / L"unplugged";
};

TEST_F(PortWaitTest, WaitsWithoutHooksAndPlaysOnceThePortIsThere) {
    run_.WriteCfgFile(L"a.json", NoteOnA(60));
    Unplug();
    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(run_.Begin({L"--wait-for-port", L"30"}));
    ASSERT_TRUE(WaitUntil([&] { return run_.window() != nullptr && RecordCount(run_, "refuse") >= 2; }, kStartTimeout))
        << "no window, or the port was not looked for again";
    // This test runs no hook of its own.
    EXPECT_EQ(RemoveEveryHook().removed, 0u) << "a hook was installed while the program waited";
    const auto waited = std::chrono::steady_clock::now() - started;
    EXPECT_LE(RecordCount(run_, "refuse"), static_cast<size_t>(waited / 1s) + 1) << "looked more than once a second";

    ChildProcess second = run_.Launch();
    HWND box = WaitForMessageBox(L"Quillfret");
    ASSERT_NE(box, nullptr) << "a second instance did not meet the mutex";
    DismissMessageBox(box);
    EXPECT_EQ(WaitForExit(second, kEventTimeout), 0u);

    fs::remove(unplugged_);
    EXPECT_TRUE(PlaysNote(run_, 60)) << "it did not play once the port was there";
    EXPECT_EQ(RecordCount(run_, "open"), 1u);
    EXPECT_EQ(run_.Quit(), 0u);
}

TEST_F(PortWaitTest, WhenTheTimeRunsOutItSaysSoAndEndsWithCode1) {
    Unplug();
    ASSERT_TRUE(run_.Begin({L"--wait-for-port", L"1"}));
    HWND box = WaitForMessageBox(L"Error");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), L"Fenwickloop MIDI device not found");
    EXPECT_EQ(RecordCount(run_, "refuse"), 2u) << "at start and once a second later";
    DismissMessageBox(box);
    EXPECT_EQ(WaitForExit(run_.process(), kEventTimeout), 1u);
}

// "soon" is no number of seconds: the wait is the default one, and Quit in
// the menu ends it.
TEST_F(PortWaitTest, QuitWhileItWaitsEndsWithCode0) {
    Unplug();
    ASSERT_TRUE(run_.Begin({L"--wait-for-port", L"soon"}));
    ASSERT_TRUE(WaitUntil([&] { return run_.window() != nullptr && IconShown(run_.window()); }, kStartTimeout));
    EXPECT_EQ(run_.Quit(), 0u);
    EXPECT_EQ(RecordCount(run_, "open"), 0u);
    EXPECT_FALSE(fs::exists(run_.cfg() / L"last_config.txt"));
}

}  // namespace
