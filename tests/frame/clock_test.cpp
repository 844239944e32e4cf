#include <gtest/gtest.h>

#include <ctime>

#include "cvinstaller.h"

TEST(GetTimeAsLong, MatchesTheRuntimeClock) {
    const __time64_t before = _time64(nullptr);
    const LONG now = GetTimeAsLong();
    const __time64_t after = _time64(nullptr);
    EXPECT_GE(static_cast<__time64_t>(now), static_cast<LONG>(before));
    EXPECT_LE(static_cast<__time64_t>(now), static_cast<LONG>(after));
}
