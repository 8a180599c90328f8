#include "engine/hook_watch.h"

#include <gtest/gtest.h>

#include <string>

namespace {

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
