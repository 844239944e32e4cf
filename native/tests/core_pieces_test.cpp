// The platform-free pieces under the sanitizers: boundaries where an off-by-one
// would read or write a byte too far.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

#include "SERVICES/Library/exception.h"
#include "frame/format_bounded.h"
#include "security/dacl_messages.h"
#include "webserver/aspnet/append_bounded.h"
#include "webserver/filter_names.h"

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

TEST(LongToStringNative, ExtremesAndZero) {
    EXPECT_EQ(cvi::LongToString(0), "0");
    EXPECT_EQ(cvi::LongToString(INT32_MIN), "-2147483648");
    EXPECT_EQ(cvi::LongToString(INT32_MAX), "2147483647");
}

TEST(ExpectedFilterNameNative, EmptyAndSingleVVersions) {
    for (const char* v : {"", "v", "V"}) {
        std::vector<char> block(cvi::ExpectedFilterNameSize(v));
        cvi::FormatExpectedFilterName(v, block.data(), block.size());
        EXPECT_STREQ(block.data(), "ASP.NET_") << v;
    }
}

TEST(ExceptionNative, FullTextShowsTheLineOnlyWithASourceFile) {
    EXPECT_EQ(cvi::Exception("m", "", 5).GetFullText(), "m ");
    EXPECT_EQ(cvi::Exception("", "f", 0).GetFullText(), "(f)");
    EXPECT_EQ(cvi::Exception("", "", 9).GetFullText(), "");
}

}  // namespace
