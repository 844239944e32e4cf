#include <gtest/gtest.h>

#include <string>

#include "support/test_support.h"

namespace {

struct Outcome {
    DWORD code;
    std::string out;
};

Outcome Cvinst(const std::string& args) {
    Outcome r;
    r.code = cvi_test::RunCaptured(cvi_test::BinDir() + "\\cvinst.exe", args, r.out);
    return r;
}

bool Has(const Outcome& r, const std::string& text) { return r.out.find(text) != std::string::npos; }

const std::string kKey = "Software\\CVINSTALLER-tests\\cvinst";

TEST(Cvinst, HelpListsEveryExportWithItsResults) {
    const Outcome r = Cvinst("--help");
    EXPECT_EQ(r.code, 0u);
    for (const char* name : {"GetTimeAsLong", "KillProcessByFileName", "RegistryKeyExists", "CreateEmptyKey3264",
                             "SetRegistryString3264", "SetRegistryWord3264", "GetADSIStatus", "IIS_CheckNetFilters",
                             "CheckForASPNETISAPI", "InitMAPIDir", "MSI_SetMAPIProperties", "CreateProfile",
                             "ProfileExists"})
        EXPECT_TRUE(Has(r, name)) << name;
    EXPECT_TRUE(Has(r, "exit codes"));
}

TEST(Cvinst, WrongOrMissingArgumentsGiveOneLineAndExitCode2) {
    for (const char* args : {"", "bogus", "kill", "kill a b", "reg-set-word HKXX k n 1", "reg-set-word HKCU k n x",
                             "reg-set-word HKCU k n 4294967296", "create-key HKCU", "create-profile a 1 2 3 4",
                             "create-profile a 1 2 3 4 five 6 7 8", "mapi-dir 0", "net-filters a b"}) {
        const Outcome r = Cvinst(args);
        EXPECT_EQ(r.code, 2u) << args;
        EXPECT_EQ(r.out, "") << args;  // the usage line goes to stderr
    }
}

TEST(Cvinst, RegistryWritersPrintTheResultAndItsMeaning) {
    Outcome r = Cvinst("reg-set-word HKCU " + kKey + " Port 0x19");
    EXPECT_EQ(r.code, 0u);
    EXPECT_TRUE(Has(r, "SetRegistryWord3264 = 1 (written)")) << r.out;
    DWORD value = 0, size = sizeof value;
    EXPECT_EQ(RegGetValueA(HKEY_CURRENT_USER, kKey.c_str(), "Port", RRF_RT_REG_DWORD, nullptr, &value, &size), 0);
    EXPECT_EQ(value, 25u);

    r = Cvinst("reg-set-string HKCU " + kKey + " Name \"two words\" --64");
    EXPECT_EQ(r.code, 0u);
    EXPECT_TRUE(Has(r, "SetRegistryString3264 = 0 (success)")) << r.out;

    r = Cvinst("create-key HKCU " + kKey + "\\sub default");
    EXPECT_EQ(r.code, 0u);
    EXPECT_TRUE(Has(r, "CreateEmptyKey3264 = 0 (success)")) << r.out;

    r = Cvinst("reg-exists SOFTWARE\\Microsoft");
    EXPECT_EQ(r.code, 0u);
    EXPECT_TRUE(Has(r, "RegistryKeyExists = 1")) << r.out;
    r = Cvinst("reg-exists SOFTWARE\\CVINSTALLER-tests-none");
    EXPECT_EQ(r.code, 1u);
    EXPECT_TRUE(Has(r, "RegistryKeyExists = 0")) << r.out;
    RegDeleteTreeA(HKEY_CURRENT_USER, kKey.c_str());
}

TEST(Cvinst, KillEndsTheNamedProcess) {
    cvi_test::TempDir dir;
    const std::string name = "cvinst_target" + std::to_string(GetCurrentProcessId()) + ".exe";
    CopyFileA((cvi_test::BinDir() + "\\sleeper.exe").c_str(), dir.file(name).c_str(), FALSE);
    cvi_test::Child target(dir.file(name), "60");
    ASSERT_TRUE(target.started());
    const Outcome r = Cvinst("kill " + name);
    EXPECT_EQ(r.code, 0u);
    EXPECT_TRUE(Has(r, name + "\n") || Has(r, name + "\r\n")) << "the process list names it";
    EXPECT_TRUE(Has(r, "KillProcessByFileName = 1")) << r.out;
    EXPECT_NE(target.wait(5000), static_cast<DWORD>(STILL_ACTIVE));
}

TEST(Cvinst, WebServerChecksAgainstTheDirectoryStandIn) {
    const char* filters = "Software\\CVINSTALLER-tests\\adsi\\Filters";
    const char order[] = "sspifilt,ASP.NET_2.0.50727";
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, filters, "FilterLoadOrder", REG_SZ, order, sizeof order), 0);
    Outcome r = Cvinst("net-filters v1.1");
    EXPECT_EQ(r.code, 1u);
    EXPECT_TRUE(Has(r, "IIS_CheckNetFilters = 1 (ASP.NET filter present, not the requested version)")) << r.out;
    r = Cvinst("net-filters 2.0");
    EXPECT_EQ(r.code, 0u);
    EXPECT_TRUE(Has(r, "IIS_CheckNetFilters = 2 (ASP.NET filter present, of the requested version)")) << r.out;
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\CVINSTALLER-tests\\adsi");
    r = Cvinst("net-filters");
    EXPECT_EQ(r.code, 1u);
    EXPECT_TRUE(Has(r, "IIS_CheckNetFilters = 3 (filter list could not be read)")) << r.out;
}

TEST(Cvinst, ProfilesAgainstTheMapiStandIn) {
    const std::string name = "cvinst-profile-" + std::to_string(GetCurrentProcessId()) + "-" +
                             std::to_string(GetTickCount());
    Outcome r = Cvinst("create-profile " + name + " host user pass domain 25 a b c");
    EXPECT_EQ(r.code, 0u);
    EXPECT_TRUE(Has(r, "CreateProfile = 1")) << r.out;
    r = Cvinst("profile-exists " + name);
    EXPECT_EQ(r.code, 0u);
    EXPECT_TRUE(Has(r, "ProfileExists = 1, exists = 1 (profile present)")) << r.out;
    r = Cvinst("create-profile " + name + " host user pass domain 25 a b c");
    EXPECT_EQ(r.code, 1u) << "a second profile of the same name is refused";
    r = Cvinst("profile-exists " + name + "-none");
    EXPECT_EQ(r.code, 1u);
    EXPECT_TRUE(Has(r, "exists = 0 (no such profile)")) << r.out;
    RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\CVINSTALLER-tests\\mapi-profiles\\" + name).c_str());
}

TEST(Cvinst, MapiFolderTimeAndReport) {
    Outcome r = Cvinst("mapi-dir");
    EXPECT_EQ(r.code, 0u);
    EXPECT_TRUE(Has(r, "\\MAPISVC.INF\"")) << r.out;
    r = Cvinst("mapi-dir 5");
    EXPECT_EQ(r.code, 0u);
    EXPECT_TRUE(Has(r, "InitMAPIDir = \"C:\\w\"")) << r.out;  // cut to size - 1
    r = Cvinst("msi-mapi-props");
    EXPECT_EQ(r.code, 0u);
    EXPECT_TRUE(Has(r, "MSI_SetMAPIProperties = 0")) << r.out;
    r = Cvinst("time");
    EXPECT_EQ(r.code, 0u);
    EXPECT_TRUE(Has(r, "GetTimeAsLong = ")) << r.out;

    r = Cvinst("report");
    EXPECT_EQ(r.code, 0u);
    for (const char* row : {"GetTimeAsLong", "GetADSIStatus", "IIS_CheckNetFilters (any)", "CheckForASPNETISAPI",
                            "InitMAPIDir", "RegistryKeyExists SOFTWARE\\Microsoft\\InetStp"})
        EXPECT_TRUE(Has(r, row)) << row << "\n" << r.out;
}

}  // namespace
