// The Windows directory rule, in processes started with chosen environments,
// and the bounded composition of paths.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "aspnet/aspnet_test_support.h"
#include "webserver/aspnet/append_bounded.h"
#include "webserver/aspnet/windows_directory.h"

namespace {

// "<result>|<directory>" as a probe process sees it with a buffer of `size` bytes.
std::string EffectiveDirectory(const std::vector<std::string>& overrides, int size = 1023,
                               const std::vector<std::string>& extra = {}) {
    std::string out;
    EXPECT_EQ(aspnet_test::RunProbe("dir " + std::to_string(size), overrides, out, extra), 0u)
        << "3: unterminated, 4: written past the size";
    return out;
}

TEST(EffectiveWindowsDirectory, ReportedDirectoryUnlessItHoldsTheHomePath) {
    const std::string reported = "1|" + aspnet_test::WindowsDirectory();
    EXPECT_EQ(EffectiveDirectory({"HOMEPATH=", "WinDir=D:\\System"}), reported);
    EXPECT_EQ(EffectiveDirectory({"HOMEPATH=\\users\\nobody", "WinDir=D:\\System"}), reported);
    // An empty home path is set but matches nothing.
    EXPECT_EQ(EffectiveDirectory({"HOMEPATH=", "WinDir=D:\\System"}, 1023, {"HOMEPATH="}), reported);
    EXPECT_EQ(EffectiveDirectory({"HOMEPATH=WINDOWS", "WinDir=D:\\System"}), "1|D:\\System");
    EXPECT_EQ(EffectiveDirectory({"HOMEPATH=WINDOWS", "WinDir="}), reported);

    const std::string longer = "D:\\" + std::string(40, 's');
    EXPECT_EQ(EffectiveDirectory({"HOMEPATH=windows", "WinDir=" + longer}, 30), reported);
    EXPECT_EQ(EffectiveDirectory({"HOMEPATH=windows", "WinDir=" + longer}, static_cast<int>(longer.size()) + 1),
              "1|" + longer);
}

TEST(EffectiveWindowsDirectory, NeverWritesBeyondTheCallersSize) {
    const std::string reported = aspnet_test::WindowsDirectory();
    const UINT exact = static_cast<UINT>(reported.size()) + 1;
    std::vector<char> buffer(exact + 8, '#');

    EXPECT_EQ(cvi::GetEffectiveWindowsDirectory(buffer.data(), exact - 1), 0);
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_EQ(std::string(buffer.begin() + exact - 1, buffer.end()), std::string(9, '#'));
    EXPECT_EQ(cvi::GetEffectiveWindowsDirectory(buffer.data(), exact), 1);
    EXPECT_EQ(std::string(buffer.data()), reported);
    EXPECT_EQ(cvi::GetEffectiveWindowsDirectory(nullptr, 100), 0);
}

TEST(AppendBounded, FillsTheBufferToTheLastCharacterAndNoFurther) {
    char path[cvi::kPathBufferSize + 1];
    path[cvi::kPathBufferSize] = '#';
    std::strcpy(path, "C:");
    const std::string rest(cvi::kPathBufferSize - 3, 'x');  // 1023 characters in all

    EXPECT_EQ(cvi::AppendBounded(path, (rest + "y").c_str()), nullptr);
    EXPECT_STREQ(path, "C:");  // a refused append leaves the text as it was
    EXPECT_EQ(cvi::AppendBounded(path, rest.c_str()), path);
    EXPECT_EQ(std::strlen(path), cvi::kPathBufferSize - 1);
    EXPECT_EQ(cvi::AppendBounded(path, "z"), nullptr);
    EXPECT_EQ(path[cvi::kPathBufferSize], '#');
    EXPECT_EQ(cvi::AppendBounded(nullptr, "a"), nullptr);
    EXPECT_EQ(cvi::AppendBounded(path, nullptr), nullptr);
}

}  // namespace
