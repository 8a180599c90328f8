// The CFG folder as the main loop keeps it: the reload after a change, the
// loop without a watch, and the folder made again by the menu's scan.
#include "app/cfg_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/app_state.h"
#include "app/main_loop.h"
#include "app/release_resources.h"
#include "support/process.h"
#include "support/test_files.h"
#include "win_test_support.h"

namespace fs = std::filesystem;

namespace {

constexpr UINT kProbe = WM_APP + 50;
constexpr UINT_PTR kPollTimer = 1;

std::string MappingOfA(int note) { return R"({"mappings": [{"key": "65", "note": )" + std::to_string(note) + "}]}"; }

int NoteOfA(const AppState& state) {
    auto found = state.engine.mappings.find(65);
    return found == state.engine.mappings.end() || found->second.notes.empty() ? -1 : found->second.notes[0];
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

class CfgFolderTest : public testing::Test {
protected:
    void SetUp() override {
        state_.cfg_dir = dir_.Wide("CFG");
        state_.current_config = dir_.Wide("CFG\\current.json");
    }

    void TearDown() override { ReleaseResources(state_); }

    TempDir dir_;
    AppState state_;
};

TEST_F(CfgFolderTest, MessagesAreDispatchedDuringThePauseBeforeAReload) {
    fs::create_directory(state_.cfg_dir);
    WriteBytes(state_.current_config, MappingOfA(60));
    PutCurrentConfigInForce(state_);
    ASSERT_EQ(NoteOfA(state_), 60);
    StartCfgWatch(state_.cfg_folder, state_.cfg_dir);
    ASSERT_NE(state_.cfg_folder.watch, nullptr);

    WriteBytes(state_.current_config, MappingOfA(62));
    ASSERT_EQ(WaitForSingleObject(state_.cfg_folder.watch, 5000), WAIT_OBJECT_0) << "the change was not seen";

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

TEST_F(CfgFolderTest, AFolderThatCannotBeWatchedLeavesNoWatchAndTheLoopRuns) {
    StartCfgWatch(state_.cfg_folder, state_.cfg_dir);  // CFG is missing
    EXPECT_EQ(state_.cfg_folder.watch, nullptr);
    RecordingWindow window(kProbe, kProbe);
    PostMessageW(window.handle(), kProbe, 0, 0);
    PostQuitMessage(0);
    RunMainLoop(state_);
    EXPECT_EQ(window.received().size(), 1u);
}

// Opening the menu makes a missing CFG again, lists nothing, and watches the
// new folder.
TEST_F(CfgFolderTest, TheMenusScanMakesAMissingFolderAndWatchesIt) {
    state_.config_list = {L"stale entry"};

    RescanCfgFolder(state_);

    EXPECT_TRUE(fs::is_directory(state_.cfg_dir));
    EXPECT_TRUE(state_.config_list.empty());
    ASSERT_NE(state_.cfg_folder.watch, nullptr);
    WriteBytes(state_.current_config, MappingOfA(64));
    ASSERT_EQ(WaitForSingleObject(state_.cfg_folder.watch, 5000), WAIT_OBJECT_0) << "the new folder is not watched";
}

// The program's folder, where CFG goes; a module whose path cannot be read
// gives the system's reason, never a folder (CFG would land at the root).
TEST(ModuleFolderTest, TheProgramsFolderOrWhyItIsUnknown) {
    const ModuleFolder own = FindModuleFolder(nullptr);
    EXPECT_EQ(own.error, static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(fs::path(own.path), fs::path(OwnExePath()).parent_path());
    // NOLINTNEXTLINE(performance-no-int-to-ptr): a handle that names no loaded module.
    const ModuleFolder unknown = FindModuleFolder(reinterpret_cast<HMODULE>(0x10));
    EXPECT_NE(unknown.error, static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(unknown.path, L"");
}

}  // namespace
