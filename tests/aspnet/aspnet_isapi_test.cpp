// CheckForASPNETISAPI against folders created below the prefix's Windows
// directory, which has no Microsoft.NET folder of its own.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "aspnet/aspnet_test_support.h"
#include "cvinstaller.h"
#include "support/test_support.h"
#include "webserver/aspnet/aspnet_isapi.h"

using aspnet_test::Exists;
using aspnet_test::MakeFile;
using aspnet_test::MakeFolders;
using aspnet_test::WindowsDirectory;

namespace {

class AspNetIsapi : public ::testing::Test {
protected:
    void SetUp() override {
        // The test prefix has no .NET Framework; a folder that exists belongs
        // to someone else and is not ours to change, so nothing can be shown.
        if (Exists(net_)) GTEST_FAIL() << net_ << " exists already; it is not ours to change";
        ours_ = true;
    }
    void TearDown() override {
        if (ours_) cvi_test::RemoveTree(net_);
    }
    // A version folder below Microsoft.NET, holding the extension file when `withFile`.
    void Version(const std::string& relative, bool withFile) {
        MakeFolders(net_ + "\\" + relative);
        if (withFile) MakeFile(net_ + "\\" + relative + "\\aspnet_isapi.dll");
    }
    const std::string net_ = WindowsDirectory() + "\\Microsoft.NET";
    bool ours_ = false;
};

TEST_F(AspNetIsapi, AbsentWithoutAnyVersionFolder) {
    EXPECT_EQ(CheckForASPNETISAPI(), 0);
    MakeFolders(net_ + "\\Framework");
    MakeFolders(net_ + "\\Framework64");
    EXPECT_EQ(CheckForASPNETISAPI(), 0);
}

// Whatever order the file system lists v1.0 and v2.0 in, one round sees the
// holder first and the other sees it second.
TEST_F(AspNetIsapi, FoundWhicheverVersionFolderIsListedFirst) {
    for (bool inFirst : {true, false}) {
        SCOPED_TRACE(inFirst ? "in v1.0" : "in v2.0");
        Version("Framework\\v1.0", inFirst);
        Version("Framework\\v2.0", !inFirst);
        EXPECT_EQ(cvi::ScanFrameworkForASPNETISAPI("Framework"), 1);
        EXPECT_EQ(cvi::ScanFrameworkForASPNETISAPI("Framework64"), 0);
        EXPECT_EQ(CheckForASPNETISAPI(), 1);
        cvi_test::RemoveTree(net_);
    }
}

TEST_F(AspNetIsapi, FoundInTheSixtyFourBitFrameworkAlone) {
    Version("Framework\\v2.0", false);
    Version("Framework64\\v4.0.30319", true);
    EXPECT_EQ(cvi::ScanFrameworkForASPNETISAPI("Framework"), 0);
    EXPECT_EQ(CheckForASPNETISAPI(), 1);
}

TEST_F(AspNetIsapi, OnlyVersionFoldersCountAndAnythingNamedLikeTheFileDoes) {
    MakeFolders(net_ + "\\Framework");
    MakeFile(net_ + "\\Framework\\aspnet_isapi.dll");
    Version("Framework\\x1.0", true);
    MakeFile(net_ + "\\Framework\\vX");  // a plain file is a candidate that never exists
    EXPECT_EQ(CheckForASPNETISAPI(), 0);
    Version("Framework64\\v2.0\\aspnet_isapi.dll", false);  // a folder of that name
    EXPECT_EQ(CheckForASPNETISAPI(), 1);
}

// Scans run in a child whose "WinDir" replaces the Windows directory.
std::string ScanWithSystemDirectory(const std::string& systemDirectory) {
    std::string out;
    EXPECT_EQ(aspnet_test::RunProbe("scan", {"HOMEPATH=windows", "WinDir=" + systemDirectory}, out), 0u);
    return out;
}

TEST(AspNetIsapiElsewhere, SystemDirectoryFromWinDirIsScanned) {
    cvi_test::TempDir system;
    MakeFolders(system.file("Microsoft.NET\\Framework64\\v4.0"));
    MakeFile(system.file("Microsoft.NET\\Framework64\\v4.0\\aspnet_isapi.dll"));
    EXPECT_EQ(ScanWithSystemDirectory(system.path()), "1");
}

TEST(AspNetIsapiElsewhere, PathTooLongForTheBuffersIsAbsentNotShortened) {
    // A Windows directory that fits but leaves no room for the rest of the
    // pattern. A check that went on with a shortened path would find this
    // tree below the current folder.
    cvi_test::TempDir current;
    MakeFolders(current.file("Framework\\v1.0"));
    MakeFile(current.file("Framework\\v1.0\\aspnet_isapi.dll"));

    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(current.path().c_str()));
    const std::string result = ScanWithSystemDirectory("C:\\" + std::string(1010, 'w'));
    SetCurrentDirectoryA(previous);
    EXPECT_EQ(result, "0");
}

}  // namespace
