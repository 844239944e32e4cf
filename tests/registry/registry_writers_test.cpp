// The three registry writers against the real registry of a win64 prefix,
// where this 32-bit program's own view of HKLM\Software is Wow6432Node.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>

#include "cvinstaller.h"
#include "registry/registry_test_keys.h"
#include "registry/registry_writers.h"

using registry_test::Base;
using registry_test::Bytes;
using registry_test::Read;
using registry_test::Stored;

namespace {

class RegistryWriters : public ::testing::Test {
protected:
    void SetUp() override { registry_test::RemoveAllScratchKeys(); }
    void TearDown() override { registry_test::RemoveAllScratchKeys(); }
};

struct Writer {
    const char* name;
    std::function<bool(const std::string& path, int flag)> write;  // true: reported success
    const char* valueName;
};

const Writer kWriters[] = {
    {"CreateEmptyKey3264",
     [](const std::string& p, int f) {
         return CreateEmptyKey3264(HKEY_LOCAL_MACHINE, p.c_str(), "text", f) == ERROR_SUCCESS;
     },
     nullptr},
    {"SetRegistryString3264",
     [](const std::string& p, int f) {
         return SetRegistryString3264(HKEY_LOCAL_MACHINE, p.c_str(), "Name", "text", f) ==
                ERROR_SUCCESS;
     },
     "Name"},
    {"SetRegistryWord3264",
     [](const std::string& p, int f) {
         return SetRegistryWord3264(HKEY_LOCAL_MACHINE, p.c_str(), "Name", 7, f) == 1;
     },
     "Name"},
};

TEST_F(RegistryWriters, AnyNonZeroFlagWritesTheSixtyFourBitViewAndZeroTheOwnView) {
    for (const Writer& w : kWriters) {
        for (int flag : {0, 1, 2, -1}) {
            SCOPED_TRACE(std::string(w.name) + " flag " + std::to_string(flag));
            const std::string path = Base() + "\\" + w.name + std::to_string(flag + 1) + "\\Deep";
            ASSERT_TRUE(w.write(path, flag));
            const Stored own = Read(HKEY_LOCAL_MACHINE, path, w.valueName, KEY_WOW64_32KEY);
            const Stored wide = Read(HKEY_LOCAL_MACHINE, path, w.valueName, KEY_WOW64_64KEY);
            const Stored& written = flag == 0 ? own : wide;
            const Stored& untouched = flag == 0 ? wide : own;
            EXPECT_TRUE(written.keyExists);
            EXPECT_EQ(written.query, ERROR_SUCCESS);
            EXPECT_FALSE(untouched.keyExists);
        }
    }
}

TEST_F(RegistryWriters, TextsAreStoredAsRegSzWithTheirTerminator) {
    const std::string path = Base() + "\\Texts";
    ASSERT_EQ(SetRegistryString3264(HKEY_CURRENT_USER, path.c_str(), "abc", "abc", 0), 0);
    ASSERT_EQ(SetRegistryString3264(HKEY_CURRENT_USER, path.c_str(), "empty", "", 1), 0);
    ASSERT_EQ(CreateEmptyKey3264(HKEY_CURRENT_USER, path.c_str(), "", 0), 0);

    Stored abc = Read(HKEY_CURRENT_USER, path, "abc", 0);
    EXPECT_EQ(abc.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(abc.data, Bytes("abc"));  // 4 bytes
    Stored empty = Read(HKEY_CURRENT_USER, path, "empty", 0);
    EXPECT_EQ(empty.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(empty.data.size(), 1u);
    Stored byDefault = Read(HKEY_CURRENT_USER, path, nullptr, 0);
    EXPECT_EQ(byDefault.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(byDefault.data, Bytes(""));
}

TEST_F(RegistryWriters, WordIsStoredAsFourBytesOfRegDword) {
    const std::string path = Base() + "\\Word";
    ASSERT_EQ(SetRegistryWord3264(HKEY_CURRENT_USER, path.c_str(), "w", 0x01020304u, 0), 1);
    Stored w = Read(HKEY_CURRENT_USER, path, "w", 0);
    EXPECT_EQ(w.type, static_cast<DWORD>(REG_DWORD));
    ASSERT_EQ(w.data.size(), 4u);
    DWORD value = 0;
    memcpy(&value, w.data.data(), 4);
    EXPECT_EQ(value, 0x01020304u);
}

TEST_F(RegistryWriters, NullTextCreatesTheKeyAndWritesNothing) {
    const std::string path = Base() + "\\Null\\A\\B";
    EXPECT_EQ(CreateEmptyKey3264(HKEY_CURRENT_USER, path.c_str(), nullptr, 0), 0);
    Stored s = Read(HKEY_CURRENT_USER, path, nullptr, 0);
    EXPECT_TRUE(s.keyExists);
    EXPECT_EQ(s.query, ERROR_FILE_NOT_FOUND);

    // An existing key keeps the default value it has.
    ASSERT_EQ(CreateEmptyKey3264(HKEY_CURRENT_USER, path.c_str(), "kept", 0), 0);
    EXPECT_EQ(CreateEmptyKey3264(HKEY_CURRENT_USER, path.c_str(), nullptr, 0), 0);
    EXPECT_EQ(Read(HKEY_CURRENT_USER, path, nullptr, 0).data, Bytes("kept"));

    EXPECT_EQ(SetRegistryString3264(HKEY_CURRENT_USER, path.c_str(), "v", nullptr, 0), 0);
    EXPECT_EQ(Read(HKEY_CURRENT_USER, path, "v", 0).query, ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryWriters, NullValueNameWritesTheDefaultValue) {
    const std::string path = Base() + "\\DefaultByNull";
    ASSERT_EQ(SetRegistryString3264(HKEY_CURRENT_USER, path.c_str(), nullptr, "d", 0), 0);
    EXPECT_EQ(Read(HKEY_CURRENT_USER, path, nullptr, 0).data, Bytes("d"));
    ASSERT_EQ(SetRegistryWord3264(HKEY_CURRENT_USER, path.c_str(), nullptr, 5, 0), 1);
    EXPECT_EQ(Read(HKEY_CURRENT_USER, path, "", 0).type, static_cast<DWORD>(REG_DWORD));
}

TEST_F(RegistryWriters, RefusedValueWriteIsReported) {
    // The registry refuses value names beyond 16383 characters.
    const std::string path = Base() + "\\Refused";
    const std::string tooLong(16384, 'n');
    EXPECT_EQ(SetRegistryString3264(HKEY_CURRENT_USER, path.c_str(), tooLong.c_str(), "abc", 0),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(SetRegistryWord3264(HKEY_CURRENT_USER, path.c_str(), tooLong.c_str(), 1, 0), 0);
    EXPECT_TRUE(Read(HKEY_CURRENT_USER, path, nullptr, 0).keyExists);
}

TEST_F(RegistryWriters, InvalidRootGivesTheCreateErrorOrZero) {
    HKEY closed = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &closed), ERROR_SUCCESS);
    RegCloseKey(closed);
    EXPECT_EQ(CreateEmptyKey3264(closed, "X", "t", 0), ERROR_INVALID_HANDLE);
    EXPECT_EQ(SetRegistryString3264(closed, "X", "n", "t", 1), ERROR_INVALID_HANDLE);
    EXPECT_EQ(SetRegistryWord3264(closed, "X", "n", 1, 0), 0);
}

TEST_F(RegistryWriters, CallersOwnRootKeyStaysOpen) {
    HKEY root = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, Base().c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &root, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(CreateEmptyKey3264(root, "Sub", "a", 0), 0);
    EXPECT_EQ(SetRegistryString3264(root, "Sub", "s", "b", 1), 0);
    EXPECT_EQ(SetRegistryWord3264(root, "Sub", "w", 3, 2), 1);
    EXPECT_EQ(CreateEmptyKey3264(root, nullptr, "own default", 0), 0);  // the root itself

    EXPECT_EQ(RegSetValueExA(root, "after", 0, REG_SZ, reinterpret_cast<const BYTE*>("x"), 2),
              ERROR_SUCCESS);
    DWORD subKeys = 0;
    EXPECT_EQ(RegQueryInfoKeyA(root, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr,
                               nullptr, nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(subKeys, 1u);
    EXPECT_EQ(Read(HKEY_CURRENT_USER, Base(), nullptr, 0).data, Bytes("own default"));
    EXPECT_EQ(RegCloseKey(root), ERROR_SUCCESS);
}

void* NoMemory(std::size_t) { return nullptr; }
void NeverCalled(void*) { ADD_FAILURE() << "nothing was allocated"; }

TEST_F(RegistryWriters, ExhaustedHeapIsReportedNotPassedOffAsSuccess) {
    const cvi::TextHeap exhausted{&NoMemory, &NeverCalled};
    const std::string path = Base() + "\\NoMemory";
    EXPECT_EQ(cvi::CreateEmptyKey(HKEY_CURRENT_USER, path.c_str(), "t", 0, exhausted),
              ERROR_NOT_ENOUGH_MEMORY);
    EXPECT_EQ(cvi::SetRegistryString(HKEY_CURRENT_USER, path.c_str(), "n", "t", 0, exhausted),
              ERROR_NOT_ENOUGH_MEMORY);
    // The key is there; neither value is.
    EXPECT_EQ(Read(HKEY_CURRENT_USER, path, nullptr, 0).query, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Read(HKEY_CURRENT_USER, path, "n", 0).query, ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(Read(HKEY_CURRENT_USER, path, "n", 0).keyExists);
}

}  // namespace
