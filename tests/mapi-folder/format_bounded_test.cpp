#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "frame/format_bounded.h"

namespace {

using cvi::FormatBounded;

TEST(FormatBounded, TextThatFitsIsWholeAndTerminated) {
    char buffer[16];
    std::memset(buffer, 'Q', sizeof buffer);
    EXPECT_EQ(FormatBounded(buffer, sizeof buffer, "%s\\%s", "C:\\dir", "f"), 0);
    EXPECT_STREQ(buffer, "C:\\dir\\f");

    // Exactly capacity - 1 characters: the runtime leaves this unterminated.
    std::memset(buffer, 'Q', sizeof buffer);
    EXPECT_EQ(FormatBounded(buffer, 10, "%s\\%s", "C:\\dir", "ab"), 0);
    EXPECT_STREQ(buffer, "C:\\dir\\ab");
    EXPECT_EQ(buffer[10], 'Q');

    EXPECT_EQ(FormatBounded(buffer, 1, "%s", ""), 0);
    EXPECT_STREQ(buffer, "");
}

TEST(FormatBounded, TextTooLongIsCutAtCapacityLessOne) {
    char buffer[16];
    std::memset(buffer, 'Q', sizeof buffer);
    EXPECT_EQ(FormatBounded(buffer, 8, "%s\\%s", "C:\\windows", "MAPISVC.INF"), cvi::kFormatInsufficientBuffer);
    EXPECT_STREQ(buffer, "C:\\wind");
    EXPECT_EQ(buffer[8], 'Q') << "wrote past the capacity";

    EXPECT_EQ(FormatBounded(buffer, 1, "%s", "x"), cvi::kFormatInsufficientBuffer);
    EXPECT_STREQ(buffer, "");
}

TEST(FormatBounded, CapacityZeroOrAboveTheLimitIsRefusedUntouched) {
    char buffer[4] = {'Q', 'Q', 'Q', 'Q'};
    EXPECT_EQ(FormatBounded(buffer, 0, "%s", "x"), cvi::kFormatInvalidParameter);
    EXPECT_EQ(FormatBounded(buffer, cvi::kFormatMaxCapacity + 1, "%s", "x"), cvi::kFormatInvalidParameter);
    EXPECT_EQ(std::string(buffer, 4), "QQQQ");
    EXPECT_LT(cvi::kFormatInvalidParameter, 0) << "must count as a failed HRESULT";

    EXPECT_EQ(FormatBounded(buffer, cvi::kFormatMaxCapacity, "%s", "ab"), 0);
    EXPECT_STREQ(buffer, "ab");
}

}  // namespace
