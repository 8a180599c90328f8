#include "app/release_resources.h"

#include <gtest/gtest.h>

#include <filesystem>

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

// A state holding every kind of handle that start-up acquires, except the
// MIDI port (its release is CloseMidiOut's, tested with the port itself).
class ReleaseResourcesTest : public testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() / L"quillfret-release-test";
        std::filesystem::create_directories(folder_);
        state_.instance_mutex = CreateMutexW(nullptr, TRUE, kMutexName);
        state_.folder_watch = FindFirstChangeNotificationW(folder_.c_str(), FALSE, FILE_NOTIFY_CHANGE_LAST_WRITE);
        state_.keyboard_hook = SetWindowsHookExW(WH_KEYBOARD_LL, PassOn, nullptr, 0);
        state_.mouse_hook = SetWindowsHookExW(WH_MOUSE_LL, PassOn, nullptr, 0);
        ASSERT_NE(state_.instance_mutex, nullptr);
        ASSERT_NE(state_.folder_watch, INVALID_HANDLE_VALUE);
    }

    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::filesystem::path folder_;
    AppState state_;
};

TEST_F(ReleaseResourcesTest, ReleasesEveryHandleAndClearsIt) {
    const HANDLE watch = state_.folder_watch;
    const HHOOK keyboard_hook = state_.keyboard_hook;
    ReleaseResources(state_);
    EXPECT_EQ(state_.instance_mutex, nullptr);
    EXPECT_EQ(state_.folder_watch, nullptr);
    EXPECT_EQ(state_.keyboard_hook, nullptr);
    EXPECT_EQ(state_.mouse_hook, nullptr);
    EXPECT_EQ(state_.midi_out.handle, nullptr);
    EXPECT_FALSE(IsOpenHandle(watch));
    if (keyboard_hook) {
        EXPECT_FALSE(UnhookWindowsHookEx(keyboard_hook)) << "the hook was still installed";
    }
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
    state_.tray_icon = icon;
    ReleaseResources(state_);
    EXPECT_EQ(state_.tray_icon.cbSize, 0u);
    // The icon is gone: modifying it now fails.
    EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &icon));
}

}  // namespace
