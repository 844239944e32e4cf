#include <gtest/gtest.h>

#include <string>

#include "frame/find_string.h"

using cvi::FindStringNoCase;

namespace {

// Offset of the match in `h`, or -1.
long Find(const char* h, const char* n, std::uint32_t hl = cvi::kMeasureLength,
          std::uint32_t nl = cvi::kMeasureLength) {
    const char* r = FindStringNoCase(h, n, hl, nl);
    return r ? static_cast<long>(r - h) : -1;
}

TEST(FindStringNoCase, FindsTheLeftmostMatchIgnoringAsciiCase) {
    const char* path = "C:\\Program Files\\x\\outlook.exe";
    EXPECT_EQ(FindStringNoCase(path, "OUTLOOK.EXE"), path + 19);
    EXPECT_EQ(Find("xAbyab", "ab"), 1);
    EXPECT_EQ(Find("abcdef", "DEF"), 3);  // match ending on the last byte
    EXPECT_EQ(Find("abc", "abc"), 0);
}

TEST(FindStringNoCase, ResumesAtTheNextStartAfterAPartialMatch) {
    EXPECT_EQ(Find("aaab", "AAB"), 1);
    EXPECT_EQ(Find("ababac", "abac"), 2);
}

TEST(FindStringNoCase, EmptyOrNullInputsMatchNothing) {
    EXPECT_EQ(Find("abc", ""), -1);
    EXPECT_EQ(FindStringNoCase("abc", nullptr), nullptr);
    EXPECT_EQ(FindStringNoCase(nullptr, "a"), nullptr);
    EXPECT_EQ(Find("", "a"), -1);
    EXPECT_EQ(Find("ab", "abc"), -1);
    EXPECT_EQ(FindStringNoCase(nullptr, "abc", 0, 3), nullptr);
}

TEST(FindStringNoCase, HaystackLengthBoundsTheStartPositions) {
    EXPECT_EQ(Find("abcdef", "ef", 4), -1);
    EXPECT_EQ(Find("abcdef", "cd", 4), 2);
    // The needle length only bounds start positions: comparison still runs
    // to the needle's terminator.
    EXPECT_EQ(Find("abcdef", "de", 6, 2), 3);
}

TEST(FindStringNoCase, AnEmbeddedNulNeitherEndsTheSearchNorMatches) {
    const char h[] = {'a', '\0', 'x', 'y', 'z'};
    EXPECT_EQ(Find(h, "XYZ", sizeof h), 2);
    EXPECT_EQ(Find(h, "a", sizeof h), 0);
}

TEST(FindStringNoCase, OnlyAsciiLettersFold) {
    EXPECT_EQ(Find("caf\xE9", "CAF\xC9"), -1);
    EXPECT_EQ(Find("caf\xE9", "CAF\xE9"), 0);
    EXPECT_EQ(Find("[\\]^_`", "{|}~"), -1);  // punctuation next to the letters
    EXPECT_EQ(Find("@", "`"), -1);
}

TEST(FindStringNoCase, LongHaystackMatchAtTheEnd) {
    std::string h(100000, 'a');
    h += "needle";
    EXPECT_EQ(Find(h.c_str(), "NEEDLE"), 100000);
}

}  // namespace
