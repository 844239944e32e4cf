// CheckForASPNETISAPI against folders created below the prefix's Windows
// directory, which has no Microsoft.NET folder of its own.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "cvinstaller.h"
#include "support/test_support.h"
#include "webserver/aspnet/aspnet_isapi.h"

namespace {

std::string WindowsDirectory() {
    char buffer[MAX_PATH];
    return std::string(buffer, GetWindowsDirectoryA(buffer, MAX_PATH));
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Creates every folder on `relative` below `base`.
void MakeFolders(const std::string& base, const std::string& relative) {
    std::string path = base;
    size_t start = 0;
    while (start <= relative.size()) {
        const size_t end = relative.find('\\', start);
        path += "\\" + relative.substr(start, end - start);
        CreateDirectoryA(path.c_str(), nullptr);
        if (end == std::string::npos) break;
        start = end + 1;
    }
    ASSERT_TRUE(Exists(path)) << path;
}

void MakeFile(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
    CloseHandle(h);
}

class AspNetIsapi : public ::testing::Test {
protected:
    void SetUp() override {
        if (Exists(net_)) GTEST_SKIP() << net_ << " exists already; it is not ours to change";
        created_ = true;
    }
    void TearDown() override {
        if (created_) cvi_test::RemoveTree(net_);
        EXPECT_FALSE(Exists(net_));
    }

    // <Windows>\Microsoft.NET\<relative> as a folder, with the extension
    // file in it when `withFile`.
    void Version(const std::string& relative, bool withFile) {
        MakeFolders(WindowsDirectory(), "Microsoft.NET\\" + relative);
        if (withFile) MakeFile(net_ + "\\" + relative + "\\aspnet_isapi.dll");
    }

    const std::string net_ = WindowsDirectory() + "\\Microsoft.NET";

private:
    bool created_ = false;
};

TEST_F(AspNetIsapi, AbsentWithoutAnyFrameworkFolder) {
    EXPECT_EQ(CheckForASPNETISAPI(), 0);
    MakeFolders(WindowsDirectory(), "Microsoft.NET\\Framework");
    MakeFolders(WindowsDirectory(), "Microsoft.NET\\Framework64");
    EXPECT_EQ(CheckForASPNETISAPI(), 0);
}

// Whatever order the file system lists v1.0 and v2.0 in, one of these two
// sees the holder first and the other sees it second.
TEST_F(AspNetIsapi, FoundInTheLaterOrEarlierVersionFolder) {
    Version("Framework\\v1.0", false);
    Version("Framework\\v2.0", true);
    EXPECT_EQ(cvi::ScanFrameworkForASPNETISAPI("Framework"), 1);
    EXPECT_EQ(CheckForASPNETISAPI(), 1);
}

TEST_F(AspNetIsapi, FoundInTheEarlierOrLaterVersionFolder) {
    Version("Framework\\v1.0", true);
    Version("Framework\\v2.0", false);
    EXPECT_EQ(cvi::ScanFrameworkForASPNETISAPI("Framework"), 1);
    EXPECT_EQ(cvi::ScanFrameworkForASPNETISAPI("Framework64"), 0);
    EXPECT_EQ(CheckForASPNETISAPI(), 1);
}

TEST_F(AspNetIsapi, FoundInTheSixtyFourBitFrameworkAlone) {
    Version("Framework\\v2.0", false);
    Version("Framework64\\v4.0.30319", true);
    EXPECT_EQ(cvi::ScanFrameworkForASPNETISAPI("Framework"), 0);
    EXPECT_EQ(CheckForASPNETISAPI(), 1);
}

TEST_F(AspNetIsapi, OnlyVersionFoldersCount) {
    MakeFolders(WindowsDirectory(), "Microsoft.NET\\Framework");
    MakeFile(net_ + "\\Framework\\aspnet_isapi.dll");
    Version("Framework\\x1.0", true);
    MakeFile(net_ + "\\Framework\\vX");  // a plain file is passed over
    EXPECT_EQ(CheckForASPNETISAPI(), 0);
    Version("Framework\\v3.5", true);
    EXPECT_EQ(CheckForASPNETISAPI(), 1);
}

TEST_F(AspNetIsapi, FolderNamedLikeTheExtensionCounts) {
    Version("Framework64\\v2.0\\aspnet_isapi.dll", false);
    EXPECT_EQ(CheckForASPNETISAPI(), 1);
}

TEST(PathExists, FindsFilesFoldersAndWildcardMatches) {
    const std::string windows = WindowsDirectory();
    EXPECT_EQ(cvi::PathExists(windows.c_str()), 1);
    EXPECT_EQ(cvi::PathExists((windows + "\\system32\\kernel32.dll").c_str()), 1);
    EXPECT_EQ(cvi::PathExists((windows + "\\system32\\kernel3?.dll").c_str()), 1);
    EXPECT_EQ(cvi::PathExists((windows + "\\no-such-file.cvi").c_str()), 0);
}

// Scans run in a child whose "WinDir" replaces the Windows directory.
std::string ScanWithSystemDirectory(const std::string& systemDirectory) {
    std::string out;
    const DWORD code = cvi_test::RunCaptured(
        cvi_test::BinDir() + "\\windows_directory_probe.exe", "scan", out,
        cvi_test::EnvironmentWith({"HOMEPATH=windows", "WinDir=" + systemDirectory}));
    EXPECT_EQ(code, 0u);
    return out;
}

TEST(AspNetIsapiElsewhere, SystemDirectoryFromWinDirIsScanned) {
    cvi_test::TempDir system;
    MakeFolders(system.path(), "Microsoft.NET\\Framework64\\v4.0");
    MakeFile(system.file("Microsoft.NET\\Framework64\\v4.0\\aspnet_isapi.dll"));
    EXPECT_EQ(ScanWithSystemDirectory(system.path()), "1");
}

TEST(AspNetIsapiElsewhere, PathTooLongForTheBuffersIsAbsentNotShortened) {
    // A Windows directory that fits but leaves no room for the rest of the
    // pattern. A check that went on with a shortened path would find this
    // tree below the current folder.
    cvi_test::TempDir current;
    MakeFolders(current.path(), "Framework\\v1.0");
    MakeFile(current.file("Framework\\v1.0\\aspnet_isapi.dll"));
    MakeFolders(current.path(), "Microsoft.NET\\Framework\\v1.0");
    MakeFile(current.file("Microsoft.NET\\Framework\\v1.0\\aspnet_isapi.dll"));

    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(current.path().c_str()));
    const std::string result = ScanWithSystemDirectory("C:\\" + std::string(1010, 'w'));
    SetCurrentDirectoryA(previous);
    EXPECT_EQ(result, "0");
}

}  // namespace
