#include "latency/blind_time.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

using latency::Press;
using latency::RecordedMessage;

constexpr uint32_t kNoteOn = 0x643c90;

TEST(BlindTime, FromTheFirstLostPressToTheFirstThatSoundsAgain) {
    // A press every 100 ms from 0 to 2.9 s; the hooks removed at 0.25, 1.05
    // and 2.75 s. Each press that sounds is heard 0.2 ms later, except:
    const std::set<int> lost = {0, 3, 4, 11, 12, 13, 26};  // 0 before any removal; 26 is 1.55 s after the second
    const int doubled = 6;
    std::vector<Press> presses;
    std::vector<RecordedMessage> sent;
    for (int i = 0; i < 30; ++i) {
        presses.push_back({i / 10.0, kNoteOn});
        if (lost.contains(i)) continue;
        sent.push_back({i / 10.0 + 0.0002, kNoteOn});
        if (i == doubled) sent.push_back({i / 10.0 + 0.0004, kNoteOn});
    }
    sent.push_back({0.9002, 0x90});  // another message is no note-on of the key

    const auto spells = latency::BlindSpells({0.25, 1.05, 2.75}, presses, sent);
    ASSERT_EQ(spells.size(), 3u);
    EXPECT_NEAR(spells[0].blind_ms, 200, 1e-6);  // 0.3 lost, 0.5 sounds
    EXPECT_NEAR(spells[0].first_lost_ms, 50, 1e-6);
    EXPECT_EQ(spells[0].lost, 2u);
    EXPECT_EQ(spells[0].doubled, 1u);
    EXPECT_NEAR(spells[1].blind_ms, 300, 1e-6);  // 1.1 lost, 1.4 sounds
    EXPECT_EQ(spells[1].lost, 4u);
    EXPECT_EQ(spells[1].lost_late, 1u);
    EXPECT_EQ(spells[1].doubled, 0u);
    EXPECT_EQ(spells[2].blind_ms, 0);
    EXPECT_EQ(spells[2].lost, 0u);
}

}  // namespace
