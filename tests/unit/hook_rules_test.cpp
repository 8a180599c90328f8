// The hooks' rules: what a hook posts for an event, and when the hooks are
// installed again.
#include "input/hook_rules.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(Describe(MouseTriggers(GetParam().message, GetParam().mouse_data)), GetParam().posted);
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

struct WatchCase {
    std::string name;
    bool both_installed;
    HookSightings sightings;
    RawDevice device;
    int64_t raw_event_ms;
    bool reinstall;
};

void PrintTo(const WatchCase& watch_case, std::ostream* out) { *out << watch_case.name; }

class HookWatchTest : public testing::TestWithParam<WatchCase> {};

TEST_P(HookWatchTest, ReinstallsWhenTheWitnessHeardWhatTheHookMissed) {
    const WatchCase& c = GetParam();
    EXPECT_EQ(HooksNeedInstalling(c.both_installed, c.sightings, c.device, c.raw_event_ms, 300), c.reinstall);
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
                    WatchCase{"AHookIsMissing", false, kSeen, RawDevice::Keyboard, 10'001, true}),
    [](const testing::TestParamInfo<WatchCase>& info) { return info.param.name; });

}  // namespace
