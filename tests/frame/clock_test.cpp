#include <gtest/gtest.h>

#include <ctime>

#include "cvinstaller.h"
#include "frame/clock.h"

TEST(GetTimeAsLong, MatchesTheRuntimeClock) {
    const __time64_t before = _time64(nullptr);
    const LONG now = GetTimeAsLong();
    const __time64_t after = _time64(nullptr);
    EXPECT_GE(static_cast<__time64_t>(now), static_cast<LONG>(before));
    EXPECT_LE(static_cast<__time64_t>(now), static_cast<LONG>(after));
}

// Only the low 32 bits reach the caller: 2038-01-19 03:14:07 UTC is the last
// positive second, and the count wraps to negative one second later.
TEST(GetTimeAsLong, WrapsAfter2038) {
    EXPECT_EQ(cvi::LowSeconds(2147483647LL), 2147483647);
    EXPECT_EQ(cvi::LowSeconds(2147483648LL), -2147483647 - 1);
    EXPECT_EQ(cvi::LowSeconds(4294967296LL + 5), 5);
}
