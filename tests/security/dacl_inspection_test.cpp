// CheckDaclOrder and FindAccountInDacl against real registry keys, whose
// DACLs the test system stores as given, and real files, whose DACLs it
// derives from file modes.
#include <gtest/gtest.h>

#include <windows.h>
#include <sddl.h>

#include <memory>
#include <string>

#include "security/access_control.h"
#include "support/test_support.h"

using cvi::CheckDaclOrder;
using cvi::FindAccountInDacl;
using cvi::kSecurityUnavailable;

namespace {

const std::string kClosing =
    " Entries (ACEs) in the Access List (DACL), but could not find account SID that matches "
    "within any of them.";
const char* const kNullDacl = nullptr;

std::string Pid() { return std::to_string(GetCurrentProcessId()); }
std::string Base() { return "Software\\CVINSTALLER-tests\\" + Pid(); }

// A key in the caller's own view with the DACL an SDDL text gives (null:
// a null DACL), handed back to a null DACL and deleted afterwards.
class ScratchKey {
public:
    ScratchKey(HKEY root, std::string path, const char* sddl) : root_(root), path_(std::move(path)) {
        EXPECT_EQ(RegCreateKeyExA(root_, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &key_, nullptr),
                  ERROR_SUCCESS);
        SetDacl(sddl);
    }
    ~ScratchKey() {
        SetDacl(kNullDacl);
        RegCloseKey(key_);
        RegDeleteKeyA(root_, path_.c_str());
    }
    const std::string& path() const { return path_; }

private:
    void SetDacl(const char* sddl) {
        if (!sddl) {
            SECURITY_DESCRIPTOR sd;
            InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
            SetSecurityDescriptorDacl(&sd, TRUE, nullptr, FALSE);
            EXPECT_EQ(RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, &sd), ERROR_SUCCESS);
            return;
        }
        PSECURITY_DESCRIPTOR sd = nullptr;
        ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &sd,
                                                                         nullptr))
            << sddl;
        EXPECT_EQ(RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, sd), ERROR_SUCCESS) << sddl;
        LocalFree(sd);
    }

    HKEY root_;
    std::string path_;
    HKEY key_ = nullptr;
};

class DaclInspection : public ::testing::Test {
protected:
    void TearDown() override {
        for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
            RegDeleteTreeA(root, Base().c_str());
            RegDeleteKeyA(root, "Software\\CVINSTALLER-tests");  // only when no one else uses it
        }
    }

    std::unique_ptr<ScratchKey> Key(const char* sddl, const std::string& name = "acl") {
        return std::make_unique<ScratchKey>(HKEY_LOCAL_MACHINE, Base() + "\\" + name, sddl);
    }
    static std::string Target(const ScratchKey& key) { return "REG:HKLM::" + key.path(); }
};

TEST_F(DaclInspection, OrderIsWrongOnlyWhenAnExplicitEntryFollowsAnInheritedOne) {
    const struct {
        const char* sddl;
        LONG expected;
    } cases[] = {
        {"D:(A;;KA;;;BA)(A;ID;KR;;;WD)", 1},
        {"D:(A;ID;KR;;;WD)(A;;KA;;;BA)", 0},
        {"D:(A;;KA;;;BA)(A;ID;KR;;;WD)(A;;KR;;;BG)", 0},
        {"D:(A;;KA;;;BA)(A;;KR;;;WD)", 1},
        {"D:(A;ID;KA;;;BA)(A;ID;KR;;;WD)", 1},
        {"D:", 1},
        {kNullDacl, 1},
        {"D:(A;;KA;;;BA)(D;;KA;;;BG)", 1},  // deny after allow is not examined
        {"D:(D;;KA;;;BG)(A;;KA;;;BA)", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sddl ? c.sddl : "null DACL");
        const auto key = Key(c.sddl);
        EXPECT_EQ(CheckDaclOrder(Target(*key).c_str()), c.expected);
    }
}

TEST_F(DaclInspection, MissingKeyIsNoButMissingFileIsUnavailable) {
    const std::string missingKey = "REG:HKLM::" + Base() + "\\missing";
    cvi_test::TempDir dir;
    const std::string missingFile = dir.file("missing.txt");

    EXPECT_EQ(CheckDaclOrder(missingKey.c_str()), 0);
    EXPECT_EQ(CheckDaclOrder(missingFile.c_str()), kSecurityUnavailable);

    std::string text = "left by the caller";
    EXPECT_EQ(FindAccountInDacl("SYSTEM", missingKey.c_str(), text, 0), 0);
    EXPECT_EQ(text, "Unspecified Error");
    EXPECT_EQ(FindAccountInDacl("SYSTEM", missingFile.c_str(), text, 1), kSecurityUnavailable);
    EXPECT_EQ(text, "Failed to get file security (GetFileSecurity::dwSizeNeeded=0)");
    EXPECT_EQ(cvi::IsAccountInDacl("SYSTEM", missingFile.c_str()), kSecurityUnavailable);
}

TEST_F(DaclInspection, TargetTextsChooseRootAndSubkey) {
    const auto key = Key("D:(A;;KA;;;BA)");  // order right: 1, where a missing key gives 0
    EXPECT_EQ(CheckDaclOrder(("some text REG:HKLM::" + key->path()).c_str()), 1);
    EXPECT_EQ(CheckDaclOrder(("REG:" + key->path()).c_str()), 1);

    const std::string classes = "CVINSTALLER-tests-" + Pid();
    {
        ScratchKey underClasses(HKEY_CLASSES_ROOT, classes, "D:(A;;KA;;;BA)");
        EXPECT_EQ(CheckDaclOrder(("REG:HKCR::" + classes).c_str()), 1);
        EXPECT_EQ(CheckDaclOrder(("REG:" + classes).c_str()), 0);
    }

    // Any other root is a literal part of a subkey below HKLM.
    ScratchKey underUser(HKEY_CURRENT_USER, Base() + "\\acl", "D:(A;;KA;;;BA)");
    EXPECT_EQ(CheckDaclOrder(("REG:HKCU::" + underUser.path()).c_str()), 0);
}

TEST_F(DaclInspection, SidModeFindsTheAccountOrCountsEveryEntry) {
    const auto key = Key("D:(A;;KA;;;SY)(A;ID;KR;;;WD)(D;;KA;;;BG)");
    const std::string target = Target(*key);
    std::string text;

    EXPECT_EQ(FindAccountInDacl("Everyone", target.c_str(), text, 0), 1);
    EXPECT_EQ(text, "Unspecified Error");
    EXPECT_EQ(FindAccountInDacl("Administrators", target.c_str(), text, 0), 0);
    EXPECT_EQ(text, "Checked 3" + kClosing);
    // A system name changes nothing in this mode.
    EXPECT_EQ(FindAccountInDacl("Administrators", target.c_str(), text, 0, "ELSEWHERE"), 0);
    EXPECT_EQ(text, "Checked 3" + kClosing);

    EXPECT_EQ(cvi::IsAccountInDacl("SYSTEM", target.c_str()), 1);
    EXPECT_EQ(cvi::IsAccountInDacl("Guests", target.c_str()), 1);  // a deny entry names it too
    EXPECT_EQ(cvi::IsAccountInDacl("Administrators", target.c_str()), 0);
}

TEST_F(DaclInspection, UnknownAccountIsReportedBeforeTheTargetIsRead) {
    std::string text;
    EXPECT_EQ(FindAccountInDacl("cvi-no-such-account", "C:\\no\\such\\file.txt", text, 0), 0);
    EXPECT_EQ(text, "WARNING: Account does not exist");
}

TEST_F(DaclInspection, ResolveModeComparesBareNamesAndListsTheOthers) {
    // An unknown domain account resolves nowhere: neither matched nor listed,
    // but counted.
    const auto key =
        Key("D:(A;;KA;;;SY)(A;;KR;;;WD)(A;;KR;;;S-1-5-21-1-2-3-4444)(A;ID;KR;;;WD)");
    const std::string target = Target(*key);
    std::string text;

    EXPECT_EQ(FindAccountInDacl("everyone", target.c_str(), text, 1), 1);
    EXPECT_EQ(text, "Unspecified Error");
    EXPECT_EQ(FindAccountInDacl("NT AUTHORITY\\SYSTEM", target.c_str(), text, 1), 0);
    EXPECT_EQ(text, "Resolved [SYSTEM,Everyone,Everyone] 4" + kClosing);
    // The account itself is never looked up in this mode.
    EXPECT_EQ(FindAccountInDacl("cvi-no-such-account", target.c_str(), text, 1, ""), 0);
    EXPECT_EQ(text, "Resolved against  finding [SYSTEM,Everyone,Everyone] 4" + kClosing);
}

TEST_F(DaclInspection, SystemNameLongerThanTheBufferIsRefused) {
    const auto key = Key("D:(A;;KA;;;SY)");
    const std::string target = Target(*key);
    std::string text;

    const std::string fits(499, 'h');
    EXPECT_EQ(FindAccountInDacl("SYSTEM", target.c_str(), text, 1, fits.c_str()), 0);
    EXPECT_EQ(text, "Resolved against " + fits + " finding [] 1" + kClosing);  // resolves nowhere

    const std::string tooLong(500, 'h');
    EXPECT_EQ(FindAccountInDacl("SYSTEM", target.c_str(), text, 1, tooLong.c_str()), 0);
    EXPECT_EQ(text, "Failed to use system name (longer than 499 characters)");
}

TEST_F(DaclInspection, EmptyAndNullDacls) {
    std::string text;
    {
        const auto empty = Key("D:");
        EXPECT_EQ(FindAccountInDacl("SYSTEM", Target(*empty).c_str(), text, 0), 0);
        EXPECT_EQ(text, "Checked 0" + kClosing);
        EXPECT_EQ(FindAccountInDacl("SYSTEM", Target(*empty).c_str(), text, 1), 0);
        EXPECT_EQ(text, "Resolved [] 0" + kClosing);
    }
    const auto null = Key(kNullDacl);
    EXPECT_EQ(FindAccountInDacl("SYSTEM", Target(*null).c_str(), text, 0), 1);
    EXPECT_EQ(text, "Unspecified Error");
    EXPECT_EQ(FindAccountInDacl("anyone", Target(*null).c_str(), text, 1), 1);
}

std::string CurrentUser() {
    char name[256];
    DWORD size = sizeof(name);
    EXPECT_TRUE(GetUserNameA(name, &size));
    return name;
}

TEST_F(DaclInspection, FilesAndFoldersAnswerWithTheDaclTheSystemReports) {
    cvi_test::TempDir dir;
    const std::string file = dir.file("file.txt");
    HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);

    for (const std::string& target : {file, dir.path()}) {
        SCOPED_TRACE(target);
        std::string text;
        EXPECT_EQ(CheckDaclOrder(target.c_str()), 1);
        EXPECT_EQ(FindAccountInDacl(CurrentUser().c_str(), target.c_str(), text, 1), 1);
        EXPECT_EQ(cvi::IsAccountInDacl(CurrentUser().c_str(), target.c_str()), 1);
        EXPECT_EQ(FindAccountInDacl("Guests", target.c_str(), text, 0), 0);
        EXPECT_EQ(text.rfind("Checked ", 0), 0u) << text;
    }
}

}  // namespace
