#include "engine/reopen_pacing.h"

#include <gtest/gtest.h>

namespace {

TEST(ReopenPacingTest, AtOnceAfterTheLossThenAtMostOnceASecond) {
    ReopenPacing pacing;
    EXPECT_TRUE(TakeReopenAttempt(pacing, 5'000));
    EXPECT_FALSE(TakeReopenAttempt(pacing, 5'999));
    EXPECT_TRUE(TakeReopenAttempt(pacing, 6'000));
    EXPECT_FALSE(TakeReopenAttempt(pacing, 6'500));
    EXPECT_TRUE(TakeReopenAttempt(pacing, 60'000));
}

}  // namespace
