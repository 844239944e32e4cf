// The account, group and application queries of the web-server code.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "adsi_test_set.h"
#include "webserver/active_ds.h"
#include "webserver/directory.h"
#include "webserver/web_server_queries.h"
#include "webserver/web_service_ptr.h"

namespace {

using cvi_test::AdsiTest;

std::string ComputerName() {
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof name;
    GetComputerNameA(name, &size);
    return name;
}

std::wstring Widen(const std::string& s) { return std::wstring(s.begin(), s.end()); }

// A key below HKEY_LOCAL_MACHINE created for one test and removed after,
// with the keys above it that did not exist before and are empty by then
// (other tests may be using them).
class ScratchMachineKey {
public:
    explicit ScratchMachineKey(const std::string& path) {
        for (size_t slash = 0; slash != std::string::npos;) {
            slash = path.find('\\', slash + 1);
            const std::string prefix = path.substr(0, slash);
            HKEY probe = nullptr;
            if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, prefix.c_str(), 0, KEY_READ, &probe) == ERROR_SUCCESS) {
                RegCloseKey(probe);
            } else {
                created_.push_back(prefix);
            }
        }
        EXPECT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                                  nullptr),
                  ERROR_SUCCESS);
    }
    ~ScratchMachineKey() {
        for (const auto& name : values_) RegDeleteValueA(key_, name.c_str());
        if (key_) RegCloseKey(key_);
        for (auto it = created_.rbegin(); it != created_.rend(); ++it) RegDeleteKeyA(HKEY_LOCAL_MACHINE, it->c_str());
    }
    void Set(const char* name, DWORD type, const void* data, DWORD size) {
        EXPECT_EQ(RegSetValueExA(key_, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
        values_.push_back(name);
    }
    void SetDword(const char* name, DWORD value) { Set(name, REG_DWORD, &value, sizeof value); }

private:
    HKEY key_ = nullptr;
    std::vector<std::string> created_;
    std::vector<std::string> values_;
};

const char kDwordKey[] = "Software\\CVINSTALLER-tests\\adsi-dword";

TEST(GetRegistryDword, ReadsAnyValueOfAtMostFourBytes) {
    ScratchMachineKey key(kDwordKey);
    key.SetDword("number", 0x12345678);
    key.Set("letter", REG_SZ, "A", 2);
    key.Set("long text", REG_SZ, "ABCD", 5);
    const BYTE eight[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    key.Set("binary", REG_BINARY, eight, 8);

    DWORD value = 0;
    EXPECT_EQ(cvi::GetRegistryDword(kDwordKey, "number", &value), 1);
    EXPECT_EQ(value, 0x12345678u);
    EXPECT_EQ(cvi::GetRegistryDword(kDwordKey, "letter", &value), 1);
    EXPECT_EQ(value, DWORD{'A'}) << "uncovered bytes read as 0";

    value = 99;
    EXPECT_EQ(cvi::GetRegistryDword(kDwordKey, "long text", &value), 0);
    EXPECT_EQ(cvi::GetRegistryDword(kDwordKey, "binary", &value), 0);
    EXPECT_EQ(cvi::GetRegistryDword(kDwordKey, "missing", &value), 0);
    EXPECT_EQ(cvi::GetRegistryDword("Software\\CVINSTALLER-tests\\no-such-key", "number", &value), 0);
    EXPECT_EQ(cvi::GetRegistryDword("", "number", &value), 0);
    EXPECT_EQ(value, 99u) << "a failed read leaves the result alone";
}

TEST(GetLocalComputerName, CopiesTheWholeNameOrNothing) {
    const std::string name = ComputerName();
    char buffer[64];
    EXPECT_EQ(cvi::GetLocalComputerName(buffer, sizeof buffer), 1);
    EXPECT_EQ(buffer, name);

    char small[64];
    memset(small, 'X', sizeof small);
    EXPECT_EQ(cvi::GetLocalComputerName(small, static_cast<DWORD>(name.size())), 0) << "no room for the terminator";
    EXPECT_STREQ(small, "");
}

// Machine state the account choice depends on: the domain controller key
// and the recorded IIS version.
class AspNetAccount : public ::testing::Test {
protected:
    const char* const kNtds = "SYSTEM\\CurrentControlSet\\Services\\NTDS\\Parameters";
    const char* const kInetStp = "SOFTWARE\\Microsoft\\InetStp";
    void SetUp() override {
        ASSERT_EQ(cvi::IsDomainController(), 0) << "the prefix already claims to be a domain controller";
        ASSERT_EQ(cvi::GetIISMajorVersion(), 5) << "the prefix already records an IIS version";
    }
};

TEST_F(AspNetAccount, NoDomainControllerAlwaysGetsASPNET) {
    char account[64];
    EXPECT_EQ(cvi::GetAspNetAccountName(account, sizeof account), 1);
    EXPECT_STREQ(account, "ASPNET");
    ScratchMachineKey inetStp(kInetStp);
    inetStp.SetDword("MajorVersion", 6);
    EXPECT_EQ(cvi::GetIISMajorVersion(), 6);
    EXPECT_EQ(cvi::GetAspNetAccountName(account, sizeof account), 1);
    EXPECT_STREQ(account, "ASPNET");
}

TEST_F(AspNetAccount, DomainControllerWithIIS5GetsTheWorkerAccount) {
    ScratchMachineKey ntds(kNtds);
    EXPECT_EQ(cvi::IsDomainController(), 1);

    char account[64];
    EXPECT_EQ(cvi::GetAspNetAccountName(account, sizeof account), 2) << "no version recorded counts as 5";
    EXPECT_EQ(std::string(account), "IWAM_" + ComputerName());

    ScratchMachineKey inetStp(kInetStp);
    inetStp.SetDword("MajorVersion", 5);
    EXPECT_EQ(cvi::GetAspNetAccountName(account, sizeof account), 2);
    inetStp.SetDword("MajorVersion", 6);
    EXPECT_EQ(cvi::GetAspNetAccountName(account, sizeof account), 1);
    EXPECT_STREQ(account, "ASPNET");
}

TEST_F(AspNetAccount, ATooSmallDestinationGetsNothing) {
    char account[6];
    memset(account, 'X', sizeof account);
    EXPECT_EQ(cvi::GetAspNetAccountName(account, sizeof account), 0);
    EXPECT_STREQ(account, "");
    ScratchMachineKey ntds(kNtds);
    const std::string expected = "IWAM_" + ComputerName();
    std::vector<char> worker(expected.size(), 'X');  // no room for the terminator
    EXPECT_EQ(cvi::GetAspNetAccountName(worker.data(), static_cast<DWORD>(worker.size())), 0);
    EXPECT_STREQ(worker.data(), "");
    worker.push_back('X');
    EXPECT_EQ(cvi::GetAspNetAccountName(worker.data(), static_cast<DWORD>(worker.size())), 2);
    EXPECT_EQ(worker.data(), expected);
}

// The caller initialises COM for IsUserInGroup.
class UserGroups : public AdsiTest {
protected:
    void SetUp() override {
        AdsiTest::SetUp();
        ASSERT_EQ(CoInitialize(nullptr), S_OK);
        set.AddUser(Widen(ComputerName()), L"alice", {L"Users", L"Administrators"});
    }
    void TearDown() override {
        CoUninitialize();
        AdsiTest::TearDown();
    }
};

TEST_F(UserGroups, ComparesTheBareGroupNameInAnyCase) {
    EXPECT_EQ(cvi::IsUserInGroup(nullptr, "alice", "administrators"), 1);
    EXPECT_EQ(set.LastPath(), L"WinNT://" + Widen(ComputerName()) + L"/alice");
    EXPECT_EQ(cvi::IsUserInGroup(nullptr, "alice", "USERS"), 1);
    EXPECT_EQ(cvi::IsUserInGroup(nullptr, "alice", "Guests"), 0);
    EXPECT_EQ(cvi::IsUserInGroup(nullptr, "alice", (ComputerName() + "\\Users").c_str()), 0);
    EXPECT_EQ(cvi::IsUserInGroup(nullptr, "alice", "User"), 0);
    EXPECT_EQ(cvi::IsUserInGroup(nullptr, "nobody", "Users"), 0) << "user not bound";
}

TEST_F(UserGroups, AGivenComputerIsUsedUnchanged) {
    set.AddUser(L"FarAway", L"bob", {L"Operators"});
    EXPECT_EQ(cvi::IsUserInGroup("FarAway", "bob", "operators"), 1);
    EXPECT_EQ(set.LastPath(), L"WinNT://FarAway/bob");
    EXPECT_EQ(cvi::IsUserInGroup("FarAway", "alice", "Users"), 0);
}

TEST_F(UserGroups, BrokenElementsArePassedOverAndAFailingNextEndsTheSearch) {
    set.AddUser(L"host", L"carol", {L"<empty>", L"<no-iads>", L"<no-name>", L"Staff"});
    EXPECT_EQ(cvi::IsUserInGroup("host", "carol", "Staff"), 1);
    set.AddUser(L"host", L"dave", {L"Guests", L"<fail>", L"Staff"});
    EXPECT_EQ(cvi::IsUserInGroup("host", "dave", "Staff"), 0);
}

TEST_F(UserGroups, GroupsThatCannotBeListedGiveMinus1) {
    const std::wstring user = L"WinNT\\host\\erin";
    set.AddUser(L"host", L"erin", {L"Staff"});
    for (const wchar_t* step : {L"Groups", L"NewEnum", L"Enumerator"}) {
        set.SetString(user, L"Fail", step);
        EXPECT_EQ(cvi::IsUserInGroup("host", "erin", "Staff"), -1) << step;
        EXPECT_EQ(set.Live(), 0) << step;
    }
}

TEST_F(UserGroups, OverLongInputsAreRefusedNotShortened) {
    const std::string computer(256, 'c');
    EXPECT_EQ(cvi::IsUserInGroup(computer.c_str(), "alice", "Users"), 0);
    EXPECT_EQ(set.LastPath(), L"") << "a shortened computer name was addressed";

    const std::string user(1011, 'u');  // "WinNT://host/" and the user: 1024 characters
    EXPECT_EQ(cvi::IsUserInGroup("host", user.c_str(), "Users"), 0);
    EXPECT_EQ(set.LastPath(), L"");

    // A directory name longer than the group-name buffer must not match the
    // part of it that fits.
    const std::wstring longGroup(300, L'g');
    set.AddUser(L"host", L"frank", {longGroup});
    EXPECT_EQ(cvi::IsUserInGroup("host", "frank", std::string(255, 'g').c_str()), 0);
    EXPECT_EQ(cvi::IsUserInGroup("host", "frank", std::string(300, 'g').c_str()), 0);
    set.AddUser(L"host", L"gina", {std::wstring(255, L'g')});
    EXPECT_EQ(cvi::IsUserInGroup("host", "gina", std::string(255, 'g').c_str()), 1) << "the longest name that fits";
}

TEST(IsWebApplicationPath, KindSelectsTheMarkersFoundAnywhereInAnyCase) {
    EXPECT_EQ(cvi::IsWebApplicationPath(L"C:\\Product\\Bin\\WebAdmin\\x.dll", L"Admin"), 1);
    EXPECT_EQ(cvi::IsWebApplicationPath(L"C:\\Product\\Bin\\NetWebAdmin", L"aDMIN"), 1);
    EXPECT_EQ(cvi::IsWebApplicationPath(L"C:\\Product\\Bin\\WebMail", L"Admin"), 0);
    EXPECT_EQ(cvi::IsWebApplicationPath(L"c:\\product\\bin\\webmail\\", L"Mail"), 1);
    EXPECT_EQ(cvi::IsWebApplicationPath(L"C:\\P\\Bin\\NetWebMail2\\y", L""), 1) << "marker inside a longer name";
    EXPECT_EQ(cvi::IsWebApplicationPath(L"C:\\P\\Bin\\WebAdmin", L"Administrator"), 0);
    EXPECT_EQ(cvi::IsWebApplicationPath(L"C:\\P\\WebMail", L"Mail"), 0);
}

TEST(IsWebApplicationPath, APathBeyond203CharactersIsRefused) {
    const std::wstring tail = L"\\Bin\\WebMail";
    EXPECT_EQ(cvi::IsWebApplicationPath((std::wstring(203 - tail.size(), L'p') + tail).c_str(), L"Mail"), 1);
    EXPECT_EQ(cvi::IsWebApplicationPath((std::wstring(204 - tail.size(), L'p') + tail).c_str(), L"Mail"), 0);
    EXPECT_EQ(cvi::IsWebApplicationPath((tail + std::wstring(300, L'p')).c_str(), L"Mail"), 0);
}

class WebServiceMode : public AdsiTest {};

TEST_F(WebServiceMode, NamesTheProcessModelByItsIISVersion) {
    set.SetDword(L"W3SVC", L"Mode", 0);
    EXPECT_EQ(cvi::GetWebServiceMode(), 5);
    set.SetDword(L"W3SVC", L"Mode", 1);
    EXPECT_EQ(cvi::GetWebServiceMode(), 6);
    set.SetDword(L"W3SVC", L"Mode", 2);
    EXPECT_EQ(cvi::GetWebServiceMode(), 0);
}

TEST_F(WebServiceMode, Is0WhenTheModeCannotBeRead) {
    set.SetDword(L"W3SVC", L"Mode", 0);
    set.SetDword(L"W3SVC", L"NoWebService", 1);
    EXPECT_EQ(cvi::GetWebServiceMode(), 0) << "interface not offered";
    set.Clear();
    EXPECT_EQ(cvi::GetWebServiceMode(), 0) << "GetCurrentMode failed";
    set.SetDword(L"W3SVC", L"Mode", 1);
    set.SetDword(L"W3SVC", L"ModeResult", static_cast<DWORD>(S_FALSE));
    EXPECT_EQ(cvi::GetWebServiceMode(), 0) << "GetCurrentMode answered S_FALSE";
    set.SetDword(L"", L"OpenResult", static_cast<DWORD>(E_FAIL));
    EXPECT_EQ(cvi::GetWebServiceMode(), 0) << "not bound";
}

TEST_F(WebServiceMode, HolderOwnsTheInterfaceItAskedFor) {
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    {
        cvi::WebServicePtr empty;
        EXPECT_FALSE(empty);
        EXPECT_TRUE(empty == nullptr);
        cvi::WebServicePtr fromNull(nullptr);
        EXPECT_FALSE(fromNull);

        const cvi::ActiveDs ads;
        IADs* object = nullptr;
        ASSERT_EQ(ads.ADsGetObject(L"IIS://localhost/W3SVC", cvi::kIID_IADs, reinterpret_cast<void**>(&object)), S_OK);
        cvi::WebServicePtr service(object);
        ASSERT_TRUE(service);
        EXPECT_TRUE(service == reinterpret_cast<IISWebService*>(object)) << "same object, one interface chain";

        IADs* filters = nullptr;
        ASSERT_EQ(ads.ADsGetObject(L"IIS://localhost/W3SVC/Filters", cvi::kIID_IADs, reinterpret_cast<void**>(&filters)),
                  S_OK);
        cvi::WebServicePtr none(filters);
        EXPECT_FALSE(none) << "the filter collection is no web service";
        filters->Release();
        object->Release();
        EXPECT_EQ(set.Live(), 1) << "the holder keeps its reference";
    }
    EXPECT_EQ(set.Live(), 0);
    CoUninitialize();
}

}  // namespace
