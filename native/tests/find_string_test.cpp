#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "frame/find_string.h"
#include "reference_search.h"

using cvi::FindStringNoCase;

namespace {

TEST(FindStringNoCaseNative, AgreesWithTheReferenceOnExhaustiveSmallInputs) {
    const char alphabet[] = {'a', 'A', 'b', '\0', '\xE9'};
    // Every haystack of up to 5 bytes over the alphabet, every needle of up
    // to 3 bytes without NUL: exercises the bounds at every position.
    std::vector<std::string> needles;
    for (int len = 1; len <= 3; ++len) {
        int total = 1;
        for (int i = 0; i < len; ++i) total *= 4;
        for (int v = 0; v < total; ++v) {
            std::string s;
            for (int i = 0, x = v; i < len; ++i, x /= 4) s += "aAb\xE9"[x % 4];
            needles.push_back(s);
        }
    }
    for (int len = 0; len <= 5; ++len) {
        int total = 1;
        for (int i = 0; i < len; ++i) total *= 5;
        for (int v = 0; v < total; ++v) {
            std::vector<char> h;
            for (int i = 0, x = v; i < len; ++i, x /= 5) h.push_back(alphabet[x % 5]);
            for (const auto& n : needles) {
                const auto hl = static_cast<std::uint32_t>(h.size());
                // Exactly-sized heap copy so ASan sees any read past the end.
                std::vector<char> exact(h);
                const char* hp = exact.empty() ? "" : exact.data();
                ASSERT_EQ(FindStringNoCase(hp, n.c_str(), hl), ReferenceSearch(hp, hl, n.c_str()));
            }
        }
    }
}

TEST(FindStringNoCaseNative, MeasuredLengthsStopAtTheTerminator) {
    EXPECT_STREQ(FindStringNoCase("path\\outlook.exe", "OUTLOOK"), "outlook.exe");
    EXPECT_EQ(FindStringNoCase("ab", "abc"), nullptr);
    EXPECT_EQ(FindStringNoCase(nullptr, "x"), nullptr);
    EXPECT_EQ(FindStringNoCase("x", nullptr), nullptr);
}

}  // namespace
