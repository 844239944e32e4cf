// Which apartment the library's COM policy picks, and that the exports leave
// the caller's own COM state exactly as they found it.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <string>

#include "adsi_test_set.h"
#include "cvinstaller.h"
#include "support/test_support.h"
#include "webserver/com_policy.h"
#include "webserver/host_names.h"
#include "webserver/web_server_queries.h"

namespace {

using cvi_test::AdsiTest;
using cvi_test::ApartmentOfThisThread;
using cvi_test::TempDir;

TEST(HostNames, AnyListedNameAnywhereInThePathInAnyCase) {
    EXPECT_TRUE(cvi::PathNamesMultithreadedHost("C:\\Program Files\\Mail\\CVSMTPC.EXE"));
    EXPECT_TRUE(cvi::PathNamesMultithreadedHost("D:\\x\\cvradms.exe"));
    EXPECT_TRUE(cvi::PathNamesMultithreadedHost("C:\\Office\\Outlook.exe"));
    EXPECT_TRUE(cvi::PathNamesMultithreadedHost("C:\\CVPOPC.EXE\\setup.exe")) << "a folder named after one";
    EXPECT_TRUE(cvi::PathNamesMultithreadedHost("C:\\bin\\oldCVMTA.EXE.bak")) << "inside a longer name";
    EXPECT_FALSE(cvi::PathNamesMultithreadedHost("C:\\Windows\\System32\\msiexec.exe"));
    EXPECT_FALSE(cvi::PathNamesMultithreadedHost("C:\\bin\\CVMTA.EX"));
    EXPECT_FALSE(cvi::PathNamesMultithreadedHost(""));
}

TEST(ComPolicy, AnInstallerLikeHostGetsTheApartmentThreadedModel) {
    EXPECT_EQ(cvi::IsMultithreadedHost(), 0);
    ASSERT_EQ(cvi::InitializeComForHost(), S_OK);
    EXPECT_EQ(ApartmentOfThisThread(), "STA");
    CoUninitialize();
}

class ComPolicyHosts : public ::testing::Test {
protected:
    // Runs the probe under `relativeExe` below a scratch folder.
    std::string Probe(const std::string& relativeExe, const std::string& args) {
        const std::string exe = dir_.file(relativeExe);
        const size_t slash = exe.find_last_of('\\');
        CreateDirectoryA(exe.substr(0, slash).c_str(), nullptr);
        EXPECT_TRUE(CopyFileA((cvi_test::BinDir() + "\\com_probe.exe").c_str(), exe.c_str(), FALSE)) << exe;
        std::string output;
        EXPECT_EQ(cvi_test::RunCaptured(exe, args, output), 0u) << exe;
        while (!output.empty() && (output.back() == '\n' || output.back() == '\r')) output.pop_back();
        return output;
    }
    TempDir dir_;
};

TEST_F(ComPolicyHosts, ListedExecutablesFoldersAndTheMailClientGetTheMultithreadedApartment) {
    EXPECT_EQ(Probe("CVMTA.EXE", "policy"), "multithreaded=1 apartment=MTA");
    EXPECT_EQ(Probe("CVPOPS.EXE\\probe.exe", "policy"), "multithreaded=1 apartment=MTA");
    EXPECT_EQ(Probe("outlook.exe", "policy"), "multithreaded=1 apartment=MTA");
    EXPECT_EQ(Probe("setup.exe", "policy"), "multithreaded=0 apartment=STA");
}

// A multithreaded host whose thread is already apartment-threaded: the
// exports' own initialisation fails with RPC_E_CHANGED_MODE, their directory
// work still runs, and the caller's apartment survives them.
TEST_F(ComPolicyHosts, ExportsInAMultithreadedHostKeepTheCallersApartment) {
    cvi_test::AdsiTestSet set;
    set.SetDword(L"W3SVC", L"Mode", 1);
    set.SetString(L"Filters", L"FilterLoadOrder", L"ASP.NET_2.0");
    EXPECT_EQ(Probe("CVHTTPS.EXE", "sta-caller \"" + cvi_test::BinDir() + "\\adsi_provider.dll\""),
              "status=1 filters=2 mode=6 after=STA end=none live=0");
}

class CallerApartment : public AdsiTest {
protected:
    void CallEveryAdsiOperation() {
        set.SetDword(L"W3SVC", L"Mode", 0);
        set.SetString(L"Filters", L"FilterLoadOrder", L"ASP.NET_2.0");
        EXPECT_EQ(GetADSIStatus(), 1);
        EXPECT_EQ(IIS_CheckNetFilters("2.0"), 2);
        EXPECT_EQ(cvi::GetWebServiceMode(), 5);
    }
};

TEST_F(CallerApartment, AMultithreadedCallerKeepsItsApartmentAndItsCount) {
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    CallEveryAdsiOperation();
    EXPECT_EQ(ApartmentOfThisThread(), "MTA");
    CoUninitialize();  // the caller's one initialisation; TearDown sees none left
}

TEST_F(CallerApartment, AnApartmentThreadedCallerKeepsItsCount) {
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    CallEveryAdsiOperation();
    EXPECT_EQ(ApartmentOfThisThread(), "STA");
    CoUninitialize();
}

TEST_F(CallerApartment, AnUninitialisedCallerIsLeftUninitialised) {
    CallEveryAdsiOperation();  // TearDown checks
}

}  // namespace
