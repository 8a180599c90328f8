#include "input/input_hooks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "input/foreground.h"
#include "input/hook_witness.h"
#include "support/desktop.h"
#include "support/input.h"
#include "win_test_support.h"

namespace {

// Events as seen by a low-level hook installed before the program's hooks:
// it runs after them only if they pass each event on.
std::vector<std::string> downstream_events;

std::string Event(const char* kind, WPARAM message, DWORD value) {
    return std::string(kind) + " " + std::to_string(message) + " " + std::to_string(value);
}

LRESULT CALLBACK DownstreamKeyboard(int code, WPARAM wparam, LPARAM lparam) {
    const auto& record = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lparam);
    if (code == HC_ACTION) downstream_events.push_back(Event("key", wparam, record.vkCode));
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

LRESULT CALLBACK DownstreamMouse(int code, WPARAM wparam, LPARAM lparam) {
    const auto& record = *reinterpret_cast<const MSLLHOOKSTRUCT*>(lparam);
    if (code == HC_ACTION && wparam != WM_MOUSEMOVE) {
        downstream_events.push_back(Event("mouse", wparam, record.mouseData));
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

// The program's hooks, posting to a recording window, with a downstream hook
// of each kind installed first. Input comes from this process by SendInput,
// which returns after the hooks have run.
class InputHooksTest : public testing::Test {
protected:
    void SetUp() override {
        if (!HasDisplay()) GTEST_SKIP() << "needs a display (run under xvfb-run)";
        downstream_keyboard_ = SetWindowsHookExW(WH_KEYBOARD_LL, DownstreamKeyboard, nullptr, 0);
        downstream_mouse_ = SetWindowsHookExW(WH_MOUSE_LL, DownstreamMouse, nullptr, 0);
        hooks_.target = window_.handle();
        InstallInputHooks(hooks_);
        ASSERT_NE(hooks_.keyboard_hook, nullptr);
        ASSERT_NE(hooks_.mouse_hook, nullptr);
        downstream_events.clear();
    }

    void TearDown() override {
        StopWatchingAndRemove();
        if (downstream_keyboard_) UnhookWindowsHookEx(downstream_keyboard_);
        if (downstream_mouse_) UnhookWindowsHookEx(downstream_mouse_);
    }

    // As the program ends: the watch stopped first, so that nothing installs
    // the hooks again, then the hooks removed.
    void StopWatchingAndRemove() {
        StopHookWitness(hooks_);
        RemoveInputHooks(hooks_);
    }

    // The posted trigger messages, compactly: "K+65" keyboard press, "M-253"
    // mouse release, "L65" a key let go at a re-install.
    std::string Posted() {
        PumpMessages();
        std::string text;
        for (const auto& received : window_.received()) {
            if (!text.empty()) text += ' ';
            if (received.message == WM_APP_LET_GO) {
                text += 'L';
            } else {
                text += received.message == WM_APP_KEYBOARD ? 'K' : 'M';
                text += received.lparam == 1 ? '+' : received.lparam == 0 ? '-' : '?';
            }
            text += std::to_string(static_cast<int32_t>(received.wparam));
        }
        window_.Clear();
        return text;
    }

    RecordingWindow window_{WM_APP_KEYBOARD, WM_APP_LET_GO};
    InputHooks hooks_;
    HHOOK downstream_keyboard_ = nullptr;
    HHOOK downstream_mouse_ = nullptr;
};

TEST_F(InputHooksTest, AutoRepeatedKeyDownsPostOnePress) {
    KeyDown('A');
    KeyDown('A');
    KeyDown('A');
    KeyUp('A');
    EXPECT_EQ(Posted(), "K+65 K-65");
    KeyDown('A');
    KeyUp('A');
    EXPECT_EQ(Posted(), "K+65 K-65");
}

TEST_F(InputHooksTest, ReleaseOfAKeyNeverSeenDownStillPostsARelease) {
    KeyUp('B');
    EXPECT_EQ(Posted(), "K-66");
}

TEST_F(InputHooksTest, KeyReleasedWhileAltIsHeldGetsItsRelease) {
    KeyDown('A');
    KeyDown(VK_MENU);  // system key-down: nothing posted
    KeyDown('C');      // a key pressed under Alt is a system key-down: nothing
    KeyUp('C');        // its system key-up: never posted as pressed, so nothing
    KeyUp('A');        // system key-up of a posted press: the release
    KeyUp(VK_MENU);
    const std::string posted = Posted();
    EXPECT_EQ(posted.substr(0, 9), "K+65 K-65") << posted;
    EXPECT_EQ(posted.find("67"), std::string::npos) << posted;
    KeyDown('A');  // the next press is not taken for an auto-repeat
    KeyUp('A');
    EXPECT_EQ(Posted(), "K+65 K-65");
}

TEST_F(InputHooksTest, MouseButtonsPostTheirTriggerCodes) {
    ButtonDown(MouseButton::Left);
    ButtonUp(MouseButton::Left);
    ButtonDown(MouseButton::Right);
    ButtonUp(MouseButton::Right);
    ButtonDown(MouseButton::Middle);
    ButtonUp(MouseButton::Middle);
    ButtonDown(MouseButton::X1);
    ButtonUp(MouseButton::X1);
    ButtonDown(MouseButton::X2);
    ButtonUp(MouseButton::X2);
    EXPECT_EQ(Posted(), "M+253 M-253 M+252 M-252 M+4 M-4 M+5 M-5 M+6 M-6");
}

TEST_F(InputHooksTest, EachWheelNotchPostsAPressAndARelease) {
    Wheel(WHEEL_DELTA);
    Wheel(-WHEEL_DELTA);
    Wheel(0);                // no direction counts as towards the user
    Wheel(3 * WHEEL_DELTA);  // one pair whatever the size
    EXPECT_EQ(Posted(), "M+254 M-254 M+255 M-255 M+255 M-255 M+254 M-254");
}

TEST_F(InputHooksTest, EveryEventIsPassedOn) {
    KeyDown('A');
    KeyDown('A');
    KeyUp('A');
    KeyDown(VK_MENU);
    KeyUp(VK_MENU);
    ButtonDown(MouseButton::Left);
    ButtonUp(MouseButton::Left);
    Wheel(-WHEEL_DELTA);
    const std::vector<std::string> keys_then_mouse = {Event("key", WM_KEYDOWN, 'A'), Event("key", WM_KEYDOWN, 'A'),
                                                      Event("key", WM_KEYUP, 'A'),
                                                      Event("key", WM_SYSKEYDOWN, VK_MENU)};
    ASSERT_GE(downstream_events.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(downstream_events.begin(), downstream_events.begin() + 4), keys_then_mouse);
    const std::vector<std::string> mouse = {Event("mouse", WM_LBUTTONDOWN, 0), Event("mouse", WM_LBUTTONUP, 0),
                                            Event("mouse", WM_MOUSEWHEEL, static_cast<DWORD>(-WHEEL_DELTA) << 16)};
    EXPECT_EQ(std::vector<std::string>(downstream_events.end() - 3, downstream_events.end()), mouse);
}

TEST_F(InputHooksTest, RemovingTheHooksStopsThem) {
    RemoveInputHooks(hooks_);
    EXPECT_EQ(hooks_.keyboard_hook, nullptr);
    EXPECT_EQ(hooks_.mouse_hook, nullptr);
    KeyDown('A');
    KeyUp('A');
    Wheel(WHEEL_DELTA);
    EXPECT_EQ(Posted(), "");
}

// The watch: the hooks removed behind the program's back, as the system
// removes a hook that missed its time-out, and the raw input of this
// process's SendInput handed to the watch, as the program's window does.
class HookWitnessTest : public InputHooksTest {
protected:
    void SetUp() override {
        InputHooksTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        StartHookWitness(hooks_);
        ASSERT_TRUE(hooks_.witness_on);
    }

    // As if both hooks had seen nothing for longer than the margin.
    void MakeSightingsOld() {
        const int64_t long_ago = InputClockMs() - kHookSilenceMarginMs - 1;
        hooks_.sightings = {long_ago, long_ago};
    }

    // Removes both hooks without a word to the program.
    void RemoveHooksBehindItsBack() {
        UnhookWindowsHookEx(hooks_.keyboard_hook);
        UnhookWindowsHookEx(hooks_.mouse_hook);
        MakeSightingsOld();
    }

    // Hands each pending raw input event to the watch; then the posted triggers.
    std::string WatchedThenPosted() {
        MSG message;
        while (PeekMessageW(&message, nullptr, WM_INPUT, WM_INPUT, PM_REMOVE)) {
            HandleRawInput(hooks_, message.lParam);
            DispatchMessageW(&message);
        }
        return Posted();
    }
};

TEST_F(HookWitnessTest, HooksRemovedBehindTheProgramsBackAreInstalledAgain) {
    const HHOOK keyboard_hook = hooks_.keyboard_hook;
    // Each hook notes the events it sees before their raw input comes, and
    // each device is held against its own hook: the other one stays silent.
    const int64_t started = InputClockMs();
    MakeSightingsOld();
    KeyDown('A');
    KeyUp('A');
    EXPECT_EQ(WatchedThenPosted(), "K+65 K-65");
    MakeSightingsOld();
    ButtonDown(MouseButton::Left);
    ButtonUp(MouseButton::Left);
    EXPECT_EQ(WatchedThenPosted(), "M+253 M-253");
    // This thread held for longer than the margin is a false alarm, which
    // installs again by design.
    if (InputClockMs() - started <= kHookSilenceMarginMs) {
        EXPECT_EQ(hooks_.keyboard_hook, keyboard_hook) << "installed again while both worked";
    }

    RemoveHooksBehindItsBack();
    KeyDown('B');  // seen by the witness only
    KeyUp('B');
    EXPECT_EQ(WatchedThenPosted(), "");
    ASSERT_NE(hooks_.keyboard_hook, nullptr);
    ASSERT_NE(hooks_.mouse_hook, nullptr);
    EXPECT_NE(hooks_.keyboard_hook, keyboard_hook);

    // Each event posted once: the old hooks are gone, one new hook of each kind.
    KeyDown('A');
    KeyUp('A');
    ButtonDown(MouseButton::Left);
    ButtonUp(MouseButton::Left);
    EXPECT_EQ(WatchedThenPosted(), "K+65 K-65 M+253 M-253");

    // The release takes the current hooks, and nothing installs them again.
    const HHOOK current_keyboard_hook = hooks_.keyboard_hook;
    const HHOOK current_mouse_hook = hooks_.mouse_hook;
    StopWatchingAndRemove();
    EXPECT_FALSE(UnhookWindowsHookEx(current_keyboard_hook)) << "the new keyboard hook was still installed";
    EXPECT_FALSE(UnhookWindowsHookEx(current_mouse_hook)) << "the new mouse hook was still installed";
    KeyDown('A');
    KeyUp('A');
    EXPECT_EQ(WatchedThenPosted(), "");
    EXPECT_EQ(hooks_.keyboard_hook, nullptr);
}

// The hooks still work, but the thread was held between a hook call and its
// raw event for longer than the margin: installed again for nothing, and no
// message is lost or doubled for it.
TEST_F(HookWitnessTest, AFalseAlarmCostsNoMessage) {
    const HHOOK keyboard_hook = hooks_.keyboard_hook;
    KeyDown('A');
    MakeSightingsOld();
    EXPECT_EQ(WatchedThenPosted(), "K+65");
    EXPECT_NE(hooks_.keyboard_hook, keyboard_hook) << "not installed again";
    KeyUp('A');
    ButtonDown(MouseButton::Left);
    ButtonUp(MouseButton::Left);
    EXPECT_EQ(WatchedThenPosted(), "K-65 M+253 M-253");
}

// The system answers for the buttons as set up here: left and right as
// they are, which is what Wine gives a test prefix.
TEST_F(HookWitnessTest, WhatWasLetGoWhileTheHooksWereGoneIsLetGoAtTheReinstall) {
    ASSERT_EQ(GetSystemMetrics(SM_SWAPBUTTON), 0);
    KeyDown('A');
    KeyDown('C');
    ButtonDown(MouseButton::Left);
    ButtonDown(MouseButton::Right);
    EXPECT_EQ(Posted(), "K+65 K+67 M+253 M+252");
    RemoveHooksBehindItsBack();
    ButtonUp(MouseButton::Right);
    KeyUp('A');  // no hook sees them; the raw input shows the hooks gone
    EXPECT_EQ(WatchedThenPosted(), "L65 L252") << "C and the left button, still down, keep their releases";
    KeyDown('A');  // not taken for an auto-repeat
    KeyUp('A');
    KeyUp('C');
    ButtonUp(MouseButton::Left);
    EXPECT_EQ(WatchedThenPosted(), "K+65 K-65 K-67 M-253");
}

// The program in front, asked at a press: never this program itself (its
// tray menu takes the front), and looked up again only for another window.
TEST(ForegroundTest, ThisProgramsOwnWindowIsNoProgramToPlayIn) {
    if (!HasDisplay()) GTEST_SKIP() << "needs a display (run under xvfb-run)";
    HWND own = CreateFocusedWindow(L"QuillfretForegroundTest", DefWindowProcW);
    ASSERT_EQ(GetForegroundWindow(), own);
    ForegroundProgram front;
    front.window = nullptr;
    front.name = L"stale.exe";
    EXPECT_EQ(ProgramInFront(front), std::nullopt);
    EXPECT_EQ(front.window, own);
    front.name = L"kept.exe";  // the same window: not looked up again
    EXPECT_EQ(ProgramInFront(front), L"kept.exe");
    EXPECT_FALSE(PlaysInFront(front, {L"other.exe"}));
    EXPECT_TRUE(PlaysInFront(front, {L"KEPT"}));
    DestroyWindow(own);
}

}  // namespace
