// The Windows directory rule, in processes started with chosen environments,
// and the bounded composition of paths.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/test_support.h"
#include "webserver/aspnet/append_bounded.h"
#include "webserver/aspnet/windows_directory.h"

namespace {

std::string ReportedWindowsDirectory() {
    char buffer[MAX_PATH];
    const UINT n = GetWindowsDirectoryA(buffer, MAX_PATH);
    return std::string(buffer, n);
}

// "<result>|<directory>" as a process with `overrides` in its environment
// sees it, with a buffer of `size` bytes.
std::string EffectiveDirectoryIn(const std::vector<std::string>& environment, int size = 1023) {
    std::string out;
    const DWORD code = cvi_test::RunCaptured(cvi_test::BinDir() + "\\windows_directory_probe.exe",
                                             "dir " + std::to_string(size), out, environment);
    EXPECT_EQ(code, 0u) << "3: unterminated, 4: written past the size";
    return out;
}

std::vector<std::string> With(const std::vector<std::string>& overrides) {
    return cvi_test::EnvironmentWith(overrides);
}

TEST(EffectiveWindowsDirectory, ReportedDirectoryUnlessItHoldsTheHomePath) {
    const std::string reported = "1|" + ReportedWindowsDirectory();
    EXPECT_EQ(EffectiveDirectoryIn(With({"HOMEPATH=", "WinDir=D:\\System"})), reported);
    EXPECT_EQ(EffectiveDirectoryIn(With({"HOMEPATH=\\users\\nobody", "WinDir=D:\\System"})),
              reported);
    // Compared without regard to case.
    EXPECT_EQ(EffectiveDirectoryIn(With({"HOMEPATH=WINDOWS", "WinDir=D:\\System"})),
              "1|D:\\System");
    // The home path matches, but there is no system directory to use instead.
    EXPECT_EQ(EffectiveDirectoryIn(With({"HOMEPATH=WINDOWS", "WinDir="})), reported);
}

TEST(EffectiveWindowsDirectory, EmptyHomePathNeverMatches) {
    std::vector<std::string> env = With({"HOMEPATH=", "WinDir=D:\\System"});
    env.push_back("HOMEPATH=");
    EXPECT_EQ(EffectiveDirectoryIn(env), "1|" + ReportedWindowsDirectory());
}

TEST(EffectiveWindowsDirectory, SystemDirectoryTooLongForTheCallerKeepsTheReportedOne) {
    const std::string reported = ReportedWindowsDirectory();
    const std::string systemDirectory = "D:\\" + std::string(40, 's');
    EXPECT_EQ(EffectiveDirectoryIn(With({"HOMEPATH=windows", "WinDir=" + systemDirectory}), 30),
              "1|" + reported);
    EXPECT_EQ(EffectiveDirectoryIn(With({"HOMEPATH=windows", "WinDir=" + systemDirectory}),
                                   static_cast<int>(systemDirectory.size()) + 1),
              "1|" + systemDirectory);
}

TEST(EffectiveWindowsDirectory, NeverWritesBeyondTheCallersSize) {
    const std::string reported = ReportedWindowsDirectory();
    const UINT exact = static_cast<UINT>(reported.size()) + 1;
    std::vector<char> buffer(exact + 8, '#');

    EXPECT_EQ(cvi::GetEffectiveWindowsDirectory(buffer.data(), exact - 1), 0);
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_EQ(std::string(buffer.begin() + exact - 1, buffer.end()), std::string(9, '#'));

    EXPECT_EQ(cvi::GetEffectiveWindowsDirectory(buffer.data(), exact), 1);
    EXPECT_EQ(std::string(buffer.data()), reported);
    EXPECT_EQ(std::string(buffer.begin() + exact, buffer.end()), std::string(8, '#'));

    EXPECT_EQ(cvi::GetEffectiveWindowsDirectory(buffer.data(), 0), 0);
    EXPECT_EQ(cvi::GetEffectiveWindowsDirectory(nullptr, 100), 0);
}

TEST(AppendBounded, FillsTheBufferToTheLastCharacterAndNoFurther) {
    char path[cvi::kPathBufferSize + 1];
    path[cvi::kPathBufferSize] = '#';
    std::strcpy(path, "C:");
    const std::string rest(cvi::kPathBufferSize - 3, 'x');  // exactly 1023 characters in all

    EXPECT_EQ(cvi::AppendBounded(path, (rest + "y").c_str()), nullptr);
    EXPECT_STREQ(path, "C:");  // a refused append leaves the text as it was
    EXPECT_EQ(cvi::AppendBounded(path, rest.c_str()), path);
    EXPECT_EQ(std::strlen(path), cvi::kPathBufferSize - 1);
    EXPECT_EQ(cvi::AppendBounded(path, "z"), nullptr);
    EXPECT_EQ(cvi::AppendBounded(path, ""), path);
    EXPECT_EQ(path[cvi::kPathBufferSize], '#');

    EXPECT_EQ(cvi::AppendBounded(nullptr, "a"), nullptr);
    EXPECT_EQ(cvi::AppendBounded(path, nullptr), nullptr);
}

}  // namespace
