// Every export with null, empty and 64 KiB texts, tiny capacities, invalid
// and closed registry keys and an invalid installer handle: no crash, no
// write outside the caller's buffer, and the documented result.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "hardening/dll_under_test.h"

namespace {

using cvi_test::Dll;

const std::string kHuge(64 * 1024, 'x');
const HKEY kInvalidKey = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x7ff0ab4c));
const char* kKey = "Software\\CVINSTALLER-tests\\bad-input";

// A caller buffer with guard bytes on both sides.
class Guarded {
public:
    explicit Guarded(size_t size) : bytes_(size + 2 * kGuard, kFill) {}
    char* data() { return bytes_.data() + kGuard; }
    bool guardsIntact() const {
        for (size_t i = 0; i < kGuard; ++i)
            if (bytes_[i] != kFill || bytes_[bytes_.size() - 1 - i] != kFill) return false;
        return true;
    }
    char at(size_t i) const { return bytes_[kGuard + i]; }

private:
    static constexpr size_t kGuard = 64;
    static constexpr char kFill = '\xCD';
    std::vector<char> bytes_;
};

HKEY ClosedKey() {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegCloseKey(key);
    return key;
}

class BadInput : public ::testing::Test {
protected:
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\CVINSTALLER-tests\\bad-input"); }
    Dll dll;
};

TEST_F(BadInput, KillProcessByFileNameTakesAnyText) {
    CVI_REQUIRE_EXPORT(dll, KillProcessByFileName);
    EXPECT_EQ(KillProcessByFileName(nullptr), 1);
    EXPECT_EQ(KillProcessByFileName(""), 1);
    EXPECT_EQ(KillProcessByFileName(kHuge.c_str()), 1);
}

TEST_F(BadInput, RegistryKeyExistsTakesAnyText) {
    CVI_REQUIRE_EXPORT(dll, RegistryKeyExists);
    EXPECT_EQ(RegistryKeyExists(nullptr), 1);  // HKEY_LOCAL_MACHINE itself
    EXPECT_EQ(RegistryKeyExists(""), 1);
    EXPECT_EQ(RegistryKeyExists(kHuge.c_str()), 0);
}

TEST_F(BadInput, RegistryWritersRefuseInvalidAndClosedKeysAndBadPaths) {
    CVI_REQUIRE_EXPORT(dll, CreateEmptyKey3264);
    CVI_REQUIRE_EXPORT(dll, SetRegistryString3264);
    CVI_REQUIRE_EXPORT(dll, SetRegistryWord3264);
    for (HKEY root : {kInvalidKey, ClosedKey()}) {
        for (int view : {0, 1}) {
            EXPECT_NE(CreateEmptyKey3264(root, "a", "b", view), ERROR_SUCCESS);
            EXPECT_NE(SetRegistryString3264(root, "a", "n", "v", view), ERROR_SUCCESS);
            EXPECT_EQ(SetRegistryWord3264(root, "a", "n", 1, view), 0);
        }
    }
    // A path longer than the registry allows is refused, not truncated.
    EXPECT_NE(CreateEmptyKey3264(HKEY_CURRENT_USER, kHuge.c_str(), nullptr, 0), ERROR_SUCCESS);
    EXPECT_NE(SetRegistryString3264(HKEY_CURRENT_USER, kHuge.c_str(), "n", "v", 0), ERROR_SUCCESS);
    EXPECT_EQ(SetRegistryWord3264(HKEY_CURRENT_USER, kHuge.c_str(), "n", 1, 0), 0);
}

TEST_F(BadInput, RegistryWritersStoreHugeAndEmptyTexts) {
    CVI_REQUIRE_EXPORT(dll, SetRegistryString3264);
    CVI_REQUIRE_EXPORT(dll, CreateEmptyKey3264);
    EXPECT_EQ(SetRegistryString3264(HKEY_CURRENT_USER, kKey, "huge", kHuge.c_str(), 0), ERROR_SUCCESS);
    DWORD size = 0;
    EXPECT_EQ(RegGetValueA(HKEY_CURRENT_USER, kKey, "huge", RRF_RT_REG_SZ, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, kHuge.size() + 1);
    EXPECT_EQ(CreateEmptyKey3264(HKEY_CURRENT_USER, kKey, "", 0), ERROR_SUCCESS);
    EXPECT_EQ(SetRegistryString3264(HKEY_CURRENT_USER, kKey, "", "", 0), ERROR_SUCCESS);
}

TEST_F(BadInput, WebServerChecksTakeAnyVersionText) {
    CVI_REQUIRE_EXPORT(dll, IIS_CheckNetFilters);
    // The directory stand-in holds no filter list for this program, so every
    // version text, however odd, meets the same answer: unreadable.
    for (const char* v : {static_cast<const char*>(nullptr), "", "v", "V", kHuge.c_str()})
        EXPECT_EQ(IIS_CheckNetFilters(v), 3) << (v ? std::strlen(v) : 0);
}

TEST_F(BadInput, InitMAPIDirNeverWritesOutsideTheBuffer) {
    CVI_REQUIRE_EXPORT(dll, InitMAPIDir);
    InitMAPIDir(nullptr, 260);  // nothing to write into
    {
        Guarded g(16);
        InitMAPIDir(g.data(), 0);  // no room even for the terminator
        EXPECT_TRUE(g.guardsIntact());
        EXPECT_EQ(g.at(0), '\xCD');
    }
    for (DWORD size : {1u, 2u, 7u, 20u, 260u, 4096u}) {
        Guarded g(size);
        InitMAPIDir(g.data(), size);
        EXPECT_TRUE(g.guardsIntact()) << size;
        EXPECT_LT(std::strlen(g.data()), size) << size;
    }
    // Sizes no buffer has are refused as the bounded formatting refuses
    // them: the first character becomes the terminator, nothing else moves.
    for (DWORD size : {0x80000000u, 0xFFFFFFFFu}) {
        Guarded g(16);
        InitMAPIDir(g.data(), size);
        EXPECT_TRUE(g.guardsIntact()) << size;
        EXPECT_EQ(g.at(0), '\0') << size;
        for (size_t i = 1; i < 16; ++i) EXPECT_EQ(g.at(i), '\xCD') << size << " wrote at " << i;
    }
}

TEST_F(BadInput, MSI_SetMAPIPropertiesWithAnInvalidSessionStillAnswers) {
    CVI_REQUIRE_EXPORT(dll, MSI_SetMAPIProperties);
    // The folder is found; the property write to a dead session is not checked.
    EXPECT_EQ(MSI_SetMAPIProperties(0), 0u);
    EXPECT_EQ(MSI_SetMAPIProperties(0xDEADBEEF), 0u);
}

TEST_F(BadInput, ProfileExportsRefuseNullArguments) {
    CVI_REQUIRE_EXPORT(dll, CreateProfile);
    CVI_REQUIRE_EXPORT(dll, ProfileExists);
    int exists = 42;
    EXPECT_EQ(ProfileExists(nullptr, &exists), 0);
    EXPECT_EQ(exists, 42);
    EXPECT_EQ(ProfileExists("bad-input-profile", nullptr), 0);
    EXPECT_EQ(CreateProfile(nullptr, "1", "2", "3", "4", 5, "6", "7", "8"), 0);
    // A name no profile can have is answered, not refused.
    EXPECT_EQ(ProfileExists(kHuge.c_str(), &exists), 1);
    EXPECT_EQ(exists, 0);
}

}  // namespace
