#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "cvinstaller.h"
#include "registry/registry_test_keys.h"

using registry_test::Base;

namespace {

class RegistryKeyExistsTest : public ::testing::Test {
protected:
    void SetUp() override { registry_test::RemoveAllScratchKeys(); }
    void TearDown() override { registry_test::RemoveAllScratchKeys(); }

    static void Create(const std::string& path, REGSAM view) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0,
                                  KEY_ALL_ACCESS | view, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }
};

TEST_F(RegistryKeyExistsTest, SeesOnlyTheCallersOwnView) {
    Create(Base() + "\\Own", KEY_WOW64_32KEY);
    Create(Base() + "\\Wide", KEY_WOW64_64KEY);
    EXPECT_EQ(RegistryKeyExists((Base() + "\\Own").c_str()), 1);
    EXPECT_EQ(RegistryKeyExists((Base() + "\\own").c_str()), 1);  // key names ignore case
    EXPECT_EQ(RegistryKeyExists((Base() + "\\Wide").c_str()), 0);
    EXPECT_EQ(RegistryKeyExists((Base() + "\\Missing").c_str()), 0);
}

TEST_F(RegistryKeyExistsTest, EmptyOrNullPathNamesTheRootItself) {
    EXPECT_EQ(RegistryKeyExists(""), 1);
    EXPECT_EQ(RegistryKeyExists(nullptr), 1);
}

}  // namespace
