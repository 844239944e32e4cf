// The expected filter name and the wide-to-ANSI conversion the directory
// texts go through.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "webserver/filter_names.h"
#include "webserver/wide_to_ansi.h"

namespace {

std::string ExpectedName(const char* version) {
    const std::size_t size = cvi::ExpectedFilterNameSize(version);
    std::vector<char> block(size, 'X');
    cvi::FormatExpectedFilterName(version, block.data(), size);
    // A stripped v leaves one byte of the block unused.
    const bool stripped = version[0] == 'v' || version[0] == 'V';
    EXPECT_EQ(std::strlen(block.data()) + 1 + (stripped ? 1 : 0), size);
    return block.data();
}

TEST(ExpectedFilterName, StripsOneLeadingV) {
    EXPECT_EQ(ExpectedName("V1.1"), "ASP.NET_1.1");
    EXPECT_EQ(ExpectedName("v1.1"), "ASP.NET_1.1");
    EXPECT_EQ(ExpectedName("1.1"), "ASP.NET_1.1");
    EXPECT_EQ(ExpectedName("vv1.1"), "ASP.NET_v1.1");
    EXPECT_EQ(ExpectedName("2.0v"), "ASP.NET_2.0v");
    EXPECT_EQ(ExpectedName(""), "ASP.NET_");
    EXPECT_EQ(ExpectedName("v"), "ASP.NET_");
}

std::string Converted(const std::wstring& text, int size, bool* whole = nullptr) {
    std::vector<char> buffer(size + 8, 'X');
    const bool fitted = cvi::ConvertWideToAnsi(text.c_str(), buffer.data(), size);
    if (whole) *whole = fitted;
    const void* end = std::memchr(buffer.data(), '\0', size);
    EXPECT_NE(end, nullptr) << "no terminator inside the buffer";
    for (int i = size; i < size + 8; ++i) EXPECT_EQ(buffer[i], 'X') << "written beyond the buffer";
    return end ? std::string(buffer.data()) : std::string();
}

TEST(WideToAnsi, ATextThatFitsIsConvertedWhole) {
    bool whole = false;
    EXPECT_EQ(Converted(L"ASP.NET_2.0", 12, &whole), "ASP.NET_2.0");
    EXPECT_TRUE(whole);
    EXPECT_EQ(Converted(L"", 1, &whole), "");
    EXPECT_TRUE(whole);
}

TEST(WideToAnsi, ALongerTextKeepsWhatFitsAndIsTerminated) {
    bool whole = true;
    EXPECT_EQ(Converted(L"ASP.NET_2.0", 11, &whole), "ASP.NET_2.");
    EXPECT_FALSE(whole);
    EXPECT_EQ(Converted(std::wstring(3000, L'a'), 2048), std::string(2047, 'a'));
    EXPECT_EQ(Converted(L"abc", 1, &whole), "");
    EXPECT_FALSE(whole);
}

TEST(WideToAnsi, NoBufferOrNoTextWritesNothingBeyondTheBuffer) {
    char buffer[4] = {'X', 'X', 'X', 'X'};
    EXPECT_EQ(cvi::WideToAnsi(L"abc", buffer, 0), buffer);
    EXPECT_EQ(buffer[0], 'X');
    EXPECT_EQ(cvi::WideToAnsi(nullptr, buffer, 4), buffer);
    EXPECT_STREQ(buffer, "");
}

TEST(WideToAnsi, UnmappableCharactersDoNotBreakTheTerminator) {
    // Characters outside the ANSI code page become a default character.
    const std::string s = Converted(L"\x4E2D\x6587-ASP.NET", 20);
    EXPECT_EQ(s.size(), 10u);
    EXPECT_EQ(s.substr(2), "-ASP.NET");
}

}  // namespace
