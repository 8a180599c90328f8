#include "app/release_resources.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "app/app_state.h"
#include "support/desktop.h"
#include "support/virtual_midi.h"
#include "win_test_support.h"

namespace {

LRESULT CALLBACK PassOn(int code, WPARAM wparam, LPARAM lparam) {
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

bool IsOpenHandle(HANDLE handle) {
    DWORD flags = 0;
    return GetHandleInformation(handle, &flags) != 0;
}

constexpr const wchar_t* kMutexName = L"Local\\QuillfretReleaseTestMutex";
constexpr const wchar_t* kPortName = L"Release Loop";

// A state holding every kind of handle that start-up acquires, the MIDI
// port of the virtual driver included.
class ReleaseResourcesTest : public testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() / L"quillfret-release-test";
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        // The driver reads its ports when winmm first looks for them, which
        // nothing in this process did before.
        SetEnvironmentVariableW(vmidi::kPortsVariable, kPortName);
        SetEnvironmentVariableW(vmidi::kRecordVariable, Record().c_str());
        ASSERT_TRUE(OpenMidiOut(state_.midi_out, kPortName));
        state_.instance_mutex = CreateMutexW(nullptr, TRUE, kMutexName);
        state_.cfg_folder.watch = FindFirstChangeNotificationW(folder_.c_str(), FALSE, FILE_NOTIFY_CHANGE_LAST_WRITE);
        state_.hooks.keyboard_hook = SetWindowsHookExW(WH_KEYBOARD_LL, PassOn, nullptr, 0);
        state_.hooks.mouse_hook = SetWindowsHookExW(WH_MOUSE_LL, PassOn, nullptr, 0);
        ASSERT_NE(state_.instance_mutex, nullptr);
        ASSERT_NE(state_.cfg_folder.watch, INVALID_HANDLE_VALUE);
        ASSERT_NE(state_.hooks.keyboard_hook, nullptr);
        ASSERT_NE(state_.hooks.mouse_hook, nullptr);
    }

    void TearDown() override {
        std::error_code ignored;  // a leftover temporary folder harms no later test
        std::filesystem::remove_all(folder_, ignored);
    }

    std::filesystem::path Record() const { return folder_ / L"record.txt"; }

    std::filesystem::path folder_;
    AppState state_;
};

TEST_F(ReleaseResourcesTest, ReleasesEveryHandleAndClearsIt) {
    const HANDLE watch = state_.cfg_folder.watch;
    const HHOOK keyboard_hook = state_.hooks.keyboard_hook;
    const HHOOK mouse_hook = state_.hooks.mouse_hook;
    ReleaseResources(state_);
    EXPECT_EQ(state_.instance_mutex, nullptr);
    EXPECT_EQ(state_.cfg_folder.watch, nullptr);
    EXPECT_EQ(state_.hooks.keyboard_hook, nullptr);
    EXPECT_EQ(state_.hooks.mouse_hook, nullptr);
    EXPECT_EQ(state_.midi_out.handle, nullptr);
    EXPECT_FALSE(IsOpenHandle(watch));
    EXPECT_FALSE(UnhookWindowsHookEx(keyboard_hook)) << "the keyboard hook was still installed";
    EXPECT_FALSE(UnhookWindowsHookEx(mouse_hook)) << "the mouse hook was still installed";
    // The port itself was closed: the driver recorded the close.
    std::vector<vmidi::EventKind> kinds;
    for (const vmidi::MidiEvent& event : vmidi::ReadMidiRecord(Record())) kinds.push_back(event.kind);
    EXPECT_EQ(kinds, (std::vector<vmidi::EventKind>{vmidi::EventKind::Open, vmidi::EventKind::Close}));
    // The mutex is free: a new instance would find no other holder.
    HANDLE again = CreateMutexW(nullptr, TRUE, kMutexName);
    EXPECT_NE(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    CloseHandle(again);
}

TEST_F(ReleaseResourcesTest, ASecondRunReleasesNothing) {
    ReleaseResources(state_);
    // New handles now take the values just freed; a second release that
    // closed the old values again would close these.
    HANDLE events[4];
    for (HANDLE& event : events) event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ReleaseResources(state_);
    for (HANDLE event : events) {
        EXPECT_TRUE(IsOpenHandle(event));
        CloseHandle(event);
    }
}

TEST_F(ReleaseResourcesTest, RemovesTheTrayIconOnce) {
    if (!HasDisplay()) GTEST_SKIP() << "needs a display (run under xvfb-run)";
    RecordingWindow window(0, 0);
    NOTIFYICONDATAW icon{};
    icon.cbSize = sizeof(icon);
    icon.hWnd = window.handle();
    icon.uID = 1;
    icon.uFlags = NIF_TIP;
    if (!Shell_NotifyIconW(NIM_ADD, &icon)) GTEST_SKIP() << "no notification area on this display";
    state_.tray_icon.record = icon;
    ReleaseResources(state_);
    EXPECT_EQ(state_.tray_icon.record.cbSize, 0u);
    // The icon is gone: modifying it now fails.
    EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &icon));
}

}  // namespace
