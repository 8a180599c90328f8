// The program plays a mapping file from real hooked input.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "e2e_support.h"
#include "quillfret_run.h"
#include "support/input.h"
#include "support/wait.h"

namespace {

constexpr const char* kExampleMappingFile = R"({
  "midi_device": "Fenwickloop",
  "mappings": [
    { "key": "65", "notes": [60, 64, 67], "velocity": 90 },
    { "key": "66", "note": 62, "channel": 10, "mode": "toggle" },
    { "key": "253", "modifier": "17", "cc_enabled": true, "cc_number": 64 },
    { "key": "254", "cc_enabled": true, "cc_numbers": [1, 11], "cc_value_on": 100, "cc_value_off": 20 }
  ]
}
)";

class PlayTest : public DesktopTest {};

// One step of a phrase: what it does, the input it sends, the messages it
// must add to the port's record (status, data 1, data 2 in hex), in order.
struct PlayStep {
    const char* input;
    std::function<void()> send;
    std::vector<std::string> sent;
};

TEST_F(PlayTest, PlaysTheExampleMappingFileKeyByKey) {
    QuillfretRun run(L"play-example");
    run.WriteCfgFile(L"example.json", kExampleMappingFile);
    ASSERT_TRUE(run.Start());

    // Modifiers are tested when a trigger is handled, not when it happened:
    // the click without Ctrl comes first, so that it is surely handled (A's
    // messages follow it) before the test holds Ctrl down.
    const std::vector<PlayStep> steps = {
        {"left click without Ctrl",
         [] {
             ButtonDown(MouseButton::Left);
             ButtonUp(MouseButton::Left);
         },
         {}},
        {"A down", [] { KeyDown('A'); }, {"90 3c 5a", "90 40 5a", "90 43 5a"}},
        {"A repeats",
         [] {
             KeyDown('A');
             KeyDown('A');
         },
         {}},
        {"A up", [] { KeyUp('A'); }, {"80 3c 00", "80 40 00", "80 43 00"}},
        {"B down", [] { KeyDown('B'); }, {"99 3e 64"}},
        {"B up", [] { KeyUp('B'); }, {}},
        {"B down again", [] { KeyDown('B'); }, {"89 3e 00"}},
        {"B up again", [] { KeyUp('B'); }, {}},
        {"Ctrl + left down",
         [] {
             KeyDown(VK_CONTROL);
             ButtonDown(MouseButton::Left);
         },
         {"b0 40 7f"}},
        // The modifier is tested when the release is handled: Ctrl goes up after that.
        {"left up", [] { ButtonUp(MouseButton::Left); }, {"b0 40 00"}},
        {"Ctrl up", [] { KeyUp(VK_CONTROL); }, {}},
        {"wheel away", [] { Wheel(120); }, {"b0 01 64", "b0 0b 64", "b0 01 14", "b0 0b 14"}},
        {"wheel towards (unmapped)", [] { Wheel(-120); }, {}},
        {"unmapped key", [] { PressKey('Z'); }, {}},
    };
    std::vector<std::string> expected;
    for (const PlayStep& step : steps) {
        step.send();
        expected.insert(expected.end(), step.sent.begin(), step.sent.end());
        // A step that adds nothing is checked by the next one that adds something.
        if (!step.sent.empty()) {
            EXPECT_EQ(run.WaitForSent(expected.size()), expected) << "after " << step.input;
        }
    }
    // A final mapped press proves the unmapped events at the end sent nothing.
    KeyDown('A');
    KeyUp('A');
    expected.insert(expected.end(), {"90 3c 5a", "90 40 5a", "90 43 5a", "80 3c 00", "80 40 00", "80 43 00"});
    EXPECT_EQ(run.WaitForSent(expected.size()), expected);
}

TEST_F(PlayTest, AKeyReleasedWhileAltIsHeldSwitchesItsNotesOff) {
    QuillfretRun run(L"play-alt");
    run.WriteCfgFile(L"a.json", NoteOnA(60));
    ASSERT_TRUE(run.Start());
    KeyDown('A');
    ASSERT_EQ(run.WaitForSent(1), (std::vector<std::string>{"90 3c 64"}));
    KeyDown(VK_MENU);
    KeyUp('A');  // with Alt down this is a system key-up
    KeyUp(VK_MENU);
    EXPECT_EQ(run.WaitForSent(2), (std::vector<std::string>{"90 3c 64", "80 3c 00"}));
    PressKey('A');  // and the next press plays again
    EXPECT_EQ(run.WaitForSent(4), (std::vector<std::string>{"90 3c 64", "80 3c 00", "90 3c 64", "80 3c 00"}));
}

// A window of this test process that counts the key messages it receives.
struct KeyCounter {
    static inline int key_downs = 0;
    static inline int key_ups = 0;
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
        if (message == WM_KEYDOWN && wparam == 'A') ++key_downs;
        if (message == WM_KEYUP && wparam == 'A') ++key_ups;
        return DefWindowProcW(window, message, wparam, lparam);
    }
};

TEST_F(PlayTest, KeysStillReachTheFocusedWindowOfAnotherProgram) {
    QuillfretRun run(L"play-passes-on");
    run.WriteCfgFile(L"a.json", NoteOnA(60));
    ASSERT_TRUE(run.Start());

    HWND target = CreateFocusedWindow(L"QuillfretE2eKeyCounter", KeyCounter::Procedure);
    ASSERT_EQ(GetFocus(), target);

    for (int i = 0; i < 3; ++i) PressKey('A');
    EXPECT_TRUE(WaitUntil(
        [&] {
            PumpMessages();
            return KeyCounter::key_ups == 3;
        },
        kEventTimeout));
    EXPECT_EQ(KeyCounter::key_downs, 3);
    EXPECT_EQ(run.WaitForSent(6).size(), 6u);
    DestroyWindow(target);
}

}  // namespace
