// The platform-free pieces under the sanitizers: boundaries where an off-by-one
// would read or write a byte too far.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "frame/format_bounded.h"
#include "webserver/aspnet/append_bounded.h"

namespace {

TEST(FormatBoundedNative, CutsAtCapacityLessOneInAnExactBuffer) {
    for (std::size_t cap = 1; cap <= 8; ++cap) {
        std::vector<char> dest(cap);
        const auto r = cvi::FormatBounded(dest.data(), cap, "%s", "abcdef");
        EXPECT_EQ(r, cap > 6 ? 0 : cvi::kFormatInsufficientBuffer) << cap;
        EXPECT_EQ(std::strlen(dest.data()), std::min<std::size_t>(cap - 1, 6)) << cap;
    }
}

TEST(AppendBoundedNative, RefusesWhatDoesNotFitAndKeepsTheBufferTerminated) {
    std::vector<char> dest(cvi::kPathBufferSize, '\0');
    const std::string chunk(500, 'a');
    EXPECT_NE(cvi::AppendBounded(dest.data(), chunk.c_str()), nullptr);
    EXPECT_NE(cvi::AppendBounded(dest.data(), chunk.c_str()), nullptr);
    EXPECT_EQ(cvi::AppendBounded(dest.data(), chunk.c_str()), nullptr);
    EXPECT_LT(std::strlen(dest.data()), cvi::kPathBufferSize);
}

}  // namespace
