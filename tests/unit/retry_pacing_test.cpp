#include "engine/retry_pacing.h"

#include <gtest/gtest.h>

namespace {

TEST(RetryPacingTest, AtOnceAfterTheFailureThenAtMostOnceASecond) {
    RetryPacing pacing;
    EXPECT_TRUE(TakeRetry(pacing, 5'000));
    EXPECT_FALSE(TakeRetry(pacing, 5'999));
    EXPECT_EQ(NextRetryAt(pacing), 6'000);
    EXPECT_TRUE(TakeRetry(pacing, 6'000));
    EXPECT_FALSE(TakeRetry(pacing, 6'500));
    EXPECT_TRUE(TakeRetry(pacing, 60'000));
}

}  // namespace
