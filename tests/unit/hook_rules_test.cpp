// The hooks' rules: what a hook posts for an event, and when the hooks are
// installed again.
#include "input/hook_rules.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

using namespace input_message;

// Events are written compactly as "+65" (press posted) and "-65" (release posted).
std::string Describe(const TriggerEvents& events) {
    std::string text;
    for (int i = 0; i < events.count; ++i) {
        if (!text.empty()) text += ' ';
        text += (events.events[i].down ? "+" : "-") + std::to_string(events.events[i].code);
    }
    return text;
}

struct KeyStep {
    uint32_t message;
    int32_t vk;
    std::string posted;
};

struct KeyCase {
    std::string name;
    std::vector<KeyStep> steps;
};

void PrintTo(const KeyCase& key_case, std::ostream* out) { *out << key_case.name; }

class KeyboardTriggersTest : public testing::TestWithParam<KeyCase> {};

TEST_P(KeyboardTriggersTest, PostsOnePressPerPhysicalPress) {
    HeldKeySet held;
    for (const KeyStep& step : GetParam().steps) {
        EXPECT_EQ(Describe(KeyboardTriggers(held, step.message, step.vk)), step.posted)
            << "message 0x" << std::hex << step.message << " vk " << std::dec << step.vk;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Hooks, KeyboardTriggersTest,
    testing::Values(
        KeyCase{"AutoRepeatDropped",
                {{KeyDown, 65, "+65"}, {KeyDown, 65, ""}, {KeyDown, 65, ""}, {KeyUp, 65, "-65"}, {KeyDown, 65, "+65"}}},
        KeyCase{"ReleaseWithoutPressStillPosted", {{KeyUp, 66, "-66"}, {KeyUp, 66, "-66"}}},
        KeyCase{"TwoKeysIndependent",
                {{KeyDown, 65, "+65"},
                 {KeyDown, 66, "+66"},
                 {KeyDown, 65, ""},
                 {KeyUp, 65, "-65"},
                 {KeyDown, 66, ""},
                 {KeyUp, 66, "-66"}}},
        KeyCase{"SystemKeysPostNothing", {{SysKeyDown, 65, ""}, {SysKeyUp, 65, ""}, {SysKeyDown, 121, ""}}},
        // Alt pressed while a key is held: the key's release arrives as a
        // system key-up and must still release it, or its next press is lost.
        KeyCase{"SystemKeyUpReleasesAHeldKey",
                {{KeyDown, 65, "+65"}, {SysKeyUp, 65, "-65"}, {KeyDown, 65, "+65"}, {KeyUp, 65, "-65"}}},
        KeyCase{"OtherMessagesIgnored", {{0x0102, 65, ""}, {KeyDown, 65, "+65"}, {0x0102, 65, ""}, {KeyDown, 65, ""}}},
        KeyCase{"CodesOutsideOneByteAreNeverHeld",
                {{KeyDown, 300, "+300"}, {KeyDown, 300, "+300"}, {KeyUp, 300, "-300"}}},
        KeyCase{"MouseCodesFromTheKeyboardPassThrough",
                {{KeyDown, 253, "+253"}, {KeyDown, 253, ""}, {KeyUp, 253, "-253"}}}),
    [](const auto& info) { return info.param.name; });

struct MouseCase {
    uint32_t message;
    uint32_t mouse_data;
    std::string posted;
};

class MouseTriggersTest : public testing::TestWithParam<MouseCase> {};

TEST_P(MouseTriggersTest, MapsToTriggerCodes) {
    HeldKeySet held_buttons;
    EXPECT_EQ(Describe(MouseTriggers(held_buttons, GetParam().message, GetParam().mouse_data)), GetParam().posted);
}

INSTANTIATE_TEST_SUITE_P(
    Hooks, MouseTriggersTest,
    testing::Values(MouseCase{LeftButtonDown, 0, "+253"}, MouseCase{LeftButtonUp, 0, "-253"},
                    MouseCase{RightButtonDown, 0, "+252"}, MouseCase{RightButtonUp, 0, "-252"},
                    MouseCase{MiddleButtonDown, 0, "+4"}, MouseCase{MiddleButtonUp, 0, "-4"},
                    MouseCase{ExtraButtonDown, 1u << 16, "+5"}, MouseCase{ExtraButtonUp, 1u << 16, "-5"},
                    MouseCase{ExtraButtonDown, 2u << 16, "+6"}, MouseCase{ExtraButtonUp, 2u << 16, "-6"},
                    MouseCase{ExtraButtonDown, 3u << 16, "+6"}, MouseCase{ExtraButtonDown, 0, "+6"},
                    MouseCase{Wheel, 120u << 16, "+254 -254"}, MouseCase{Wheel, 1u << 16, "+254 -254"},
                    MouseCase{Wheel, 0xFF88u << 16, "+255 -255"},  // -120
                    MouseCase{Wheel, 0, "+255 -255"},              // zero counts as towards the user
                    MouseCase{Wheel, 0x8000u << 16, "+255 -255"},  // most negative delta
                    MouseCase{0x0200, 0, ""},                      // move
                    MouseCase{0x0203, 0, ""},                      // left double click
                    MouseCase{0x020E, 120u << 16, ""}));           // horizontal wheel

// The mouse hook notes each button whose press it posted, until its
// release; a wheel notch is over at once.
TEST(MouseTriggersTest, NotesTheButtonsHeld) {
    HeldKeySet held;
    MouseTriggers(held, LeftButtonDown, 0);
    MouseTriggers(held, ExtraButtonDown, 2u << 16);
    MouseTriggers(held, RightButtonDown, 0);
    MouseTriggers(held, RightButtonUp, 0);
    MouseTriggers(held, Wheel, 120u << 16);
    for (int32_t code : {253, 6}) EXPECT_TRUE(held.contains(code)) << code;
    for (int32_t code : {252, 254}) EXPECT_FALSE(held.contains(code)) << code;
}

// At a re-install: what was held, what the system shows down now (by
// virtual-key code: 1 the physical left button, 2 the right), and the
// trigger codes let go, in order.
struct LostCase {
    std::string name;
    std::vector<int32_t> keys;
    std::vector<int32_t> buttons;
    bool swapped;
    std::set<int32_t> down;
    std::string let_go;
};

void PrintTo(const LostCase& lost_case, std::ostream* out) { *out << lost_case.name; }

class LostReleasesTest : public testing::TestWithParam<LostCase> {};

TEST_P(LostReleasesTest, LetsGoOfWhatIsUpOnce) {
    const LostCase& c = GetParam();
    HeldKeySet keys;
    HeldKeySet buttons;
    for (int32_t code : c.keys) keys.insert(code);
    for (int32_t code : c.buttons) buttons.insert(code);
    auto take = [&] {
        std::string let_go;
        TakeLostReleases(
            keys, buttons, c.swapped, [&](int32_t vk) { return c.down.count(vk) != 0; },
            [&](int32_t code) { let_go += (let_go.empty() ? "" : " ") + std::to_string(code); });
        return let_go;
    };
    EXPECT_EQ(take(), c.let_go);
    EXPECT_EQ(take(), "") << "each once: taken out of the held sets";
}

INSTANTIATE_TEST_SUITE_P(Hooks, LostReleasesTest,
                         testing::Values(LostCase{"KeysAndButtonsUp", {17, 65}, {252, 253}, false, {17, 1}, "65 252"},
                                         // Set up for the left hand, the physical left button is the logical right one.
                                         LostCase{"ButtonsSwapped", {17, 65}, {252, 253}, true, {17, 1}, "65 253"},
                                         LostCase{"MiddleAndExtraButtonsByTheirCodes", {}, {4, 5, 6}, true, {5}, "4 6"},
                                         LostCase{"EverythingStillDown", {65}, {253}, false, {65, 1}, ""}),
                         [](const testing::TestParamInfo<LostCase>& info) { return info.param.name; });

struct WatchCase {
    std::string name;
    bool both_installed;
    HookSightings sightings;
    RawDevice device;
    int64_t raw_event_ms;
    bool reinstall;
    int64_t last_install_ms = 0;
};

void PrintTo(const WatchCase& watch_case, std::ostream* out) { *out << watch_case.name; }

class HookWatchTest : public testing::TestWithParam<WatchCase> {};

TEST_P(HookWatchTest, ReinstallsWhenTheWitnessHeardWhatTheHookMissed) {
    const WatchCase& c = GetParam();
    const RetryPacing installs{c.last_install_ms};
    EXPECT_EQ(HooksNeedInstalling(c.both_installed, c.sightings, installs, c.device, c.raw_event_ms, 300), c.reinstall);
}

// The keyboard hook last saw an event at 10,000 ms, the mouse hook at 9,000 ms.
constexpr HookSightings kSeen{10'000, 9'000};

INSTANTIATE_TEST_SUITE_P(
    Hooks, HookWatchTest,
    testing::Values(WatchCase{"SeenJustBefore", true, kSeen, RawDevice::Keyboard, 10'001, false},
                    WatchCase{"SilentForExactlyTheMargin", true, kSeen, RawDevice::Keyboard, 10'300, false},
                    WatchCase{"SilentForLongerThanTheMargin", true, kSeen, RawDevice::Keyboard, 10'301, true},
                    // Each device against its own hook: the mouse hook sees
                    // nothing while only the keyboard is used, and the other way round.
                    WatchCase{"OtherHookSilentDoesNotCount", true, kSeen, RawDevice::Keyboard, 10'100, false},
                    WatchCase{"MouseAgainstTheMouseHook", true, kSeen, RawDevice::Mouse, 10'100, true},
                    WatchCase{"HookSeenAfterTheRawEventWasTimed", true, kSeen, RawDevice::Keyboard, 9'990, false},
                    // A hook that failed to install is tried again at most once a second.
                    WatchCase{"AHookIsMissing", false, kSeen, RawDevice::Keyboard, 10'001, true},
                    WatchCase{"AFailedInstallWithinASecond", false, kSeen, RawDevice::Mouse, 10'001, false, 9'100},
                    WatchCase{"AFailedInstallASecondAgo", false, kSeen, RawDevice::Mouse, 10'100, true, 9'100}),
    [](const testing::TestParamInfo<WatchCase>& info) { return info.param.name; });

}  // namespace
