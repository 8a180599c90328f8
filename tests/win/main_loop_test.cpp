#include "app/main_loop.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/cfg_watch.h"
#include "app/release_resources.h"
#include "app/tray_window.h"
#include "config/config_loader.h"
#include "support/desktop.h"
#include "win_test_support.h"

namespace fs = std::filesystem;

namespace {

constexpr UINT kProbe = WM_APP + 50;
constexpr UINT_PTR kPollTimer = 1;

void WriteMapping(const fs::path& file, int note) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << R"({"mappings": [{"key": "65", "note": )" << note << "}]}";
}

int NoteOfA(const AppState& state) {
    auto found = state.mappings.find(65);
    return found == state.mappings.end() || found->second.notes.empty() ? -1 : found->second.notes[0];
}

// The window of the reload test: on the probe it notes which mapping is in
// force, then polls until the reload has happened (or a generous limit has
// passed) and ends the loop.
AppState* loop_state = nullptr;
int note_at_probe = 0;
int polls_left = 0;

LRESULT CALLBACK ProbeWindow(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == kProbe) {
        note_at_probe = NoteOfA(*loop_state);
        polls_left = 1000;
        SetTimer(window, kPollTimer, 10, nullptr);
    } else if (message == WM_TIMER && (NoteOfA(*loop_state) == 62 || --polls_left == 0)) {
        KillTimer(window, kPollTimer);
        PostQuitMessage(0);
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

class MainLoopTest : public testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / L"quillfret-main-loop-test";
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        state_.cfg_dir = folder_.wstring();
        state_.current_config = (folder_ / L"current.json").wstring();
    }

    void TearDown() override {
        ReleaseResources(state_);
        fs::remove_all(folder_);
    }

    fs::path folder_;
    AppState state_;
};

TEST_F(MainLoopTest, MessagesAreDispatchedDuringThePauseBeforeAReload) {
    WriteMapping(state_.current_config, 60);
    LoadConfig(state_);
    ASSERT_EQ(NoteOfA(state_), 60);
    StartFolderWatch(state_);
    ASSERT_NE(state_.folder_watch, nullptr);

    WriteMapping(state_.current_config, 62);
    ASSERT_EQ(WaitForSingleObject(state_.folder_watch, 5000), WAIT_OBJECT_0) << "the change was not seen";

    WNDCLASSW window_class{};
    window_class.lpfnWndProc = ProbeWindow;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = L"QuillfretMainLoopProbe";
    RegisterClassW(&window_class);
    HWND window = CreateWindowExW(0, window_class.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  window_class.hInstance, nullptr);
    loop_state = &state_;
    PostMessageW(window, kProbe, 0, 0);
    RunMainLoop(state_);
    DestroyWindow(window);

    // The message waiting when the change was seen was handled before the
    // reload, with the old mapping; the reload still came.
    EXPECT_EQ(note_at_probe, 60);
    EXPECT_EQ(NoteOfA(state_), 62);
}

TEST_F(MainLoopTest, AFolderThatCannotBeWatchedLeavesNoWatchAndTheLoopRuns) {
    state_.cfg_dir = (folder_ / L"missing").wstring();
    StartFolderWatch(state_);
    EXPECT_EQ(state_.folder_watch, nullptr);
    RecordingWindow window(kProbe, kProbe);
    PostMessageW(window.handle(), kProbe, 0, 0);
    PostQuitMessage(0);
    RunMainLoop(state_);
    EXPECT_EQ(window.received().size(), 1u);
}

TEST(TrayWindowTest, AWindowDestroyedFromOutsideReleasesEverythingAndEndsTheLoop) {
    if (!HasDisplay()) GTEST_SKIP() << "needs a display (run under xvfb-run)";
    const fs::path folder = fs::temp_directory_path();
    app.cfg_dir = folder.wstring();
    CreateTrayWindow(app, GetModuleHandleW(nullptr));
    StartFolderWatch(app);
    ASSERT_NE(app.window, nullptr);
    ASSERT_NE(app.folder_watch, nullptr);
    ASSERT_NE(app.tray_icon.cbSize, 0u) << "the tray icon was not added";
    DestroyWindow(app.window);
    RunMainLoop(app);  // returns: the destruction ended the loop
    EXPECT_EQ(app.folder_watch, nullptr);
    EXPECT_EQ(app.tray_icon.cbSize, 0u);
    app.window = nullptr;
}

}  // namespace
