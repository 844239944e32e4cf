// CheckDaclOrder and FindAccountInDacl against real registry keys, whose
// DACLs the test system stores as given, and real files, whose DACLs it
// derives from file modes.
#include <gtest/gtest.h>

#include <windows.h>
#include <sddl.h>

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

std::string Pid() { return std::to_string(GetCurrentProcessId()); }
std::string Base() { return "Software\\CVINSTALLER-tests\\" + Pid(); }

// A key in the caller's own view with the DACL of an SDDL text (null: a null
// DACL); handed back to a null DACL and deleted afterwards.
class ScratchKey {
public:
    ScratchKey(const char* sddl, HKEY root = HKEY_LOCAL_MACHINE, const std::string& path = Base() + "\\acl")
        : root_(root), path_(path) {
        EXPECT_EQ(RegCreateKeyExA(root_, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr), 0);
        SetDacl(sddl);
    }
    ~ScratchKey() {
        SetDacl(nullptr);
        RegCloseKey(key_);
        RegDeleteKeyA(root_, path_.c_str());
        RegDeleteKeyA(root_, Base().c_str());
        RegDeleteKeyA(root_, "Software\\CVINSTALLER-tests");  // only once no one else uses it
    }
    const std::string& path() const { return path_; }
    std::string target() const { return "REG:HKLM::" + path_; }

private:
    void SetDacl(const char* sddl) {
        SECURITY_DESCRIPTOR nullDacl;
        PSECURITY_DESCRIPTOR sd = &nullDacl;
        InitializeSecurityDescriptor(&nullDacl, SECURITY_DESCRIPTOR_REVISION);
        SetSecurityDescriptorDacl(&nullDacl, TRUE, nullptr, FALSE);
        if (sddl) {
            ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &sd, nullptr));
        }
        EXPECT_EQ(RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, sd), ERROR_SUCCESS);
        if (sddl) LocalFree(sd);
    }
    HKEY root_;
    std::string path_;
    HKEY key_ = nullptr;
};

TEST(DaclInspection, OrderIsWrongOnlyWhenAnExplicitEntryFollowsAnInheritedOne) {
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
        {nullptr, 1},
        {"D:(A;;KA;;;BA)(D;;KA;;;BG)", 1},  // deny after allow is not examined
        {"D:(D;;KA;;;BG)(A;;KA;;;BA)", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sddl ? c.sddl : "null DACL");
        EXPECT_EQ(CheckDaclOrder(ScratchKey(c.sddl).target().c_str()), c.expected);
    }
}

TEST(DaclInspection, MissingKeyIsNoButMissingFileIsUnavailable) {
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

    // An account that does not resolve ends the search before the target is read.
    EXPECT_EQ(FindAccountInDacl("cvi-no-such-account", missingFile.c_str(), text, 0), 0);
    EXPECT_EQ(text, "WARNING: Account does not exist");
}

TEST(DaclInspection, TargetTextsChooseRootAndSubkey) {
    // A well-ordered list gives 1 where a key that does not open gives 0.
    const ScratchKey key("D:(A;;KA;;;BA)");
    EXPECT_EQ(CheckDaclOrder(("some text REG:HKLM::" + key.path()).c_str()), 1);
    EXPECT_EQ(CheckDaclOrder(("REG:" + key.path()).c_str()), 1);
    {
        const std::string name = "CVINSTALLER-tests-" + Pid();
        const ScratchKey classes("D:(A;;KA;;;BA)", HKEY_CLASSES_ROOT, name);
        EXPECT_EQ(CheckDaclOrder(("REG:HKCR::" + name).c_str()), 1);
        EXPECT_EQ(CheckDaclOrder(("REG:" + name).c_str()), 0);
    }
    // Any other root is a literal part of a subkey below HKLM.
    const ScratchKey user("D:(A;;KA;;;BA)", HKEY_CURRENT_USER);
    EXPECT_EQ(CheckDaclOrder(("REG:HKCU::" + user.path()).c_str()), 0);
}

TEST(DaclInspection, SidModeFindsTheAccountOrCountsEveryEntry) {
    const ScratchKey key("D:(A;;KA;;;SY)(A;ID;KR;;;WD)(D;;KA;;;BG)");
    const std::string target = key.target();
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

TEST(DaclInspection, ResolveModeComparesBareNamesAndListsTheOthers) {
    // An unknown domain account resolves nowhere: neither matched nor listed, but counted.
    const ScratchKey key("D:(A;;KA;;;SY)(A;;KR;;;WD)(A;;KR;;;S-1-5-21-1-2-3-4444)(A;ID;KR;;;WD)");
    const std::string target = key.target();
    std::string text;
    EXPECT_EQ(FindAccountInDacl("everyone", target.c_str(), text, 1), 1);
    EXPECT_EQ(text, "Unspecified Error");
    EXPECT_EQ(FindAccountInDacl("NT AUTHORITY\\SYSTEM", target.c_str(), text, 1), 0);
    EXPECT_EQ(text, "Resolved [SYSTEM,Everyone,Everyone] 4" + kClosing);
    // The account itself is never looked up in this mode.
    EXPECT_EQ(FindAccountInDacl("cvi-no-such-account", target.c_str(), text, 1, ""), 0);
    EXPECT_EQ(text, "Resolved against  finding [SYSTEM,Everyone,Everyone] 4" + kClosing);

    const std::string fits(499, 'h');  // a system that resolves nothing
    EXPECT_EQ(FindAccountInDacl("SYSTEM", target.c_str(), text, 1, fits.c_str()), 0);
    EXPECT_EQ(text, "Resolved against " + fits + " finding [] 4" + kClosing);
    const std::string tooLong(500, 'h');
    EXPECT_EQ(FindAccountInDacl("SYSTEM", target.c_str(), text, 1, tooLong.c_str()), 0);
    EXPECT_EQ(text, "Failed to use system name (longer than 499 characters)");
}

TEST(DaclInspection, EmptyAndNullDacls) {
    std::string text;
    {
        const ScratchKey empty("D:");
        EXPECT_EQ(FindAccountInDacl("SYSTEM", empty.target().c_str(), text, 0), 0);
        EXPECT_EQ(text, "Checked 0" + kClosing);
        EXPECT_EQ(FindAccountInDacl("SYSTEM", empty.target().c_str(), text, 1), 0);
        EXPECT_EQ(text, "Resolved [] 0" + kClosing);
    }
    const ScratchKey null(nullptr);
    EXPECT_EQ(FindAccountInDacl("SYSTEM", null.target().c_str(), text, 0), 1);
    EXPECT_EQ(text, "Unspecified Error");
    EXPECT_EQ(FindAccountInDacl("anyone", null.target().c_str(), text, 1), 1);
}

TEST(DaclInspection, FilesAndFoldersAnswerWithTheDaclTheSystemReports) {
    char user[256];
    DWORD size = sizeof(user);
    ASSERT_TRUE(GetUserNameA(user, &size));
    cvi_test::TempDir dir;
    const std::string file = dir.file("file.txt");
    CloseHandle(CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));

    for (const std::string& target : {file, dir.path()}) {
        SCOPED_TRACE(target);
        std::string text;
        EXPECT_EQ(CheckDaclOrder(target.c_str()), 1);
        EXPECT_EQ(FindAccountInDacl(user, target.c_str(), text, 1), 1);
        EXPECT_EQ(cvi::IsAccountInDacl(user, target.c_str()), 1);
        EXPECT_EQ(FindAccountInDacl("Guests", target.c_str(), text, 0), 0);
        EXPECT_EQ(text.rfind("Checked ", 0), 0u) << text;
    }
}

}  // namespace
