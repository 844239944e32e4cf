// The registry exports against the real registry of a win64 prefix. A 32-bit
// program's own view of HKLM\Software is Wow6432Node; a 64-bit program's own
// view is the 64-bit view, so there the writers' flag changes nothing.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "cvinstaller.h"
#include "registry/registry_writers.h"

namespace {

constexpr bool kSixtyFourBitProcess = sizeof(void*) == 8;
constexpr REGSAM kOwnView = kSixtyFourBitProcess ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
constexpr REGSAM kOtherView = kSixtyFourBitProcess ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;

// Unique to this test process.
std::string Base() { return "Software\\CVINSTALLER-tests\\" + std::to_string(GetCurrentProcessId()); }

struct Stored {
    bool keyExists = false;
    LONG query = ERROR_FILE_NOT_FOUND;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

Stored Read(HKEY root, const std::string& path, const char* valueName, REGSAM view = 0) {
    Stored s;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return s;
    s.keyExists = true;
    DWORD size = 0;
    s.query = RegQueryValueExA(key, valueName, nullptr, &s.type, nullptr, &size);
    s.data.resize(size);
    if (s.query == ERROR_SUCCESS) s.query = RegQueryValueExA(key, valueName, nullptr, &s.type, s.data.data(), &size);
    RegCloseKey(key);
    return s;
}

std::vector<BYTE> Sz(const char* text) { return std::vector<BYTE>(text, text + std::strlen(text) + 1); }

class Registry : public ::testing::Test {
protected:
    void SetUp() override { RemoveScratchKeys(); }
    void TearDown() override { RemoveScratchKeys(); }

    // From both views, and the shared parent once no other test process uses it.
    static void RemoveScratchKeys() {
        for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
            for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
                HKEY parent = nullptr;
                if (RegOpenKeyExA(root, "Software\\CVINSTALLER-tests", 0, KEY_ALL_ACCESS | view,
                                  &parent) == ERROR_SUCCESS) {
                    RegDeleteTreeA(parent, std::to_string(GetCurrentProcessId()).c_str());
                    RegCloseKey(parent);
                }
                RegDeleteKeyExA(root, "Software\\CVINSTALLER-tests", view, 0);
            }
        }
    }
    const std::string path_ = Base() + "\\Key";
    const char* const path = path_.c_str();
};

TEST_F(Registry, AnyNonZeroFlagWritesTheSixtyFourBitViewAndZeroTheOwnView) {
    // Where the flag's value goes: the 64-bit view, or with 0 the own view
    // (the same view in a 64-bit process); the other view stays untouched.
    for (int writer = 0; writer < 3; ++writer) {
        for (int flag : {0, 1, 2, -1}) {
            SCOPED_TRACE("writer " + std::to_string(writer) + " flag " + std::to_string(flag));
            const std::string p = Base() + "\\" + std::to_string(writer) + std::to_string(flag) + "\\Deep";
            const char* name = writer == 0 ? nullptr : "Name";
            switch (writer) {
                case 0: ASSERT_EQ(CreateEmptyKey3264(HKEY_LOCAL_MACHINE, p.c_str(), "t", flag), 0); break;
                case 1: ASSERT_EQ(SetRegistryString3264(HKEY_LOCAL_MACHINE, p.c_str(), name, "t", flag), 0); break;
                default: ASSERT_EQ(SetRegistryWord3264(HKEY_LOCAL_MACHINE, p.c_str(), name, 7, flag), 1);
            }
            const REGSAM written = flag == 0 ? kOwnView : KEY_WOW64_64KEY;
            const REGSAM untouched = written == KEY_WOW64_64KEY ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
            EXPECT_EQ(Read(HKEY_LOCAL_MACHINE, p, name, written).query, ERROR_SUCCESS);
            EXPECT_FALSE(Read(HKEY_LOCAL_MACHINE, p, name, untouched).keyExists);
        }
    }
}

TEST_F(Registry, ValuesAreStoredWithTheirTypeAndSize) {
    ASSERT_EQ(SetRegistryString3264(HKEY_CURRENT_USER, path, "abc", "abc", 0), 0);
    ASSERT_EQ(SetRegistryString3264(HKEY_CURRENT_USER, path, "empty", "", 1), 0);
    ASSERT_EQ(SetRegistryWord3264(HKEY_CURRENT_USER, path, "word", 0x01020304u, 0), 1);
    ASSERT_EQ(CreateEmptyKey3264(HKEY_CURRENT_USER, path, "", 0), 0);

    const Stored abc = Read(HKEY_CURRENT_USER, path_, "abc");
    EXPECT_EQ(abc.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(abc.data, Sz("abc"));  // 4 bytes: the terminator is stored
    EXPECT_EQ(Read(HKEY_CURRENT_USER, path_, "empty").data, Sz(""));
    EXPECT_EQ(Read(HKEY_CURRENT_USER, path_, nullptr).data, Sz(""));
    const Stored word = Read(HKEY_CURRENT_USER, path_, "word");
    EXPECT_EQ(word.type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(word.data, std::vector<BYTE>({4, 3, 2, 1}));

    // A null value name is the default value.
    ASSERT_EQ(SetRegistryString3264(HKEY_CURRENT_USER, path, nullptr, "d", 0), 0);
    EXPECT_EQ(Read(HKEY_CURRENT_USER, path_, "").data, Sz("d"));
    ASSERT_EQ(SetRegistryWord3264(HKEY_CURRENT_USER, path, nullptr, 5, 0), 1);
    EXPECT_EQ(Read(HKEY_CURRENT_USER, path_, "").type, static_cast<DWORD>(REG_DWORD));
}

TEST_F(Registry, NullTextCreatesTheKeysAndWritesNothing) {
    const std::string deep = path_ + "\\A\\B";
    EXPECT_EQ(CreateEmptyKey3264(HKEY_CURRENT_USER, deep.c_str(), nullptr, 0), 0);
    const Stored created = Read(HKEY_CURRENT_USER, deep, nullptr);
    EXPECT_TRUE(created.keyExists);
    EXPECT_EQ(created.query, ERROR_FILE_NOT_FOUND);

    ASSERT_EQ(CreateEmptyKey3264(HKEY_CURRENT_USER, path, "kept", 0), 0);
    EXPECT_EQ(CreateEmptyKey3264(HKEY_CURRENT_USER, path, nullptr, 0), 0);
    EXPECT_EQ(Read(HKEY_CURRENT_USER, path_, nullptr).data, Sz("kept"));
    EXPECT_EQ(SetRegistryString3264(HKEY_CURRENT_USER, path, "v", nullptr, 0), 0);
    EXPECT_EQ(Read(HKEY_CURRENT_USER, path_, "v").query, ERROR_FILE_NOT_FOUND);
}

TEST_F(Registry, FailuresAreReported) {
    // The registry refuses value names beyond 16383 characters.
    const std::string tooLong(16384, 'n');
    EXPECT_EQ(SetRegistryString3264(HKEY_CURRENT_USER, path, tooLong.c_str(), "abc", 0),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(SetRegistryWord3264(HKEY_CURRENT_USER, path, tooLong.c_str(), 1, 0), 0);

    HKEY closed = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &closed), ERROR_SUCCESS);
    RegCloseKey(closed);
    EXPECT_EQ(CreateEmptyKey3264(closed, "X", "t", 0), ERROR_INVALID_HANDLE);
    EXPECT_EQ(SetRegistryString3264(closed, "X", "n", "t", 1), ERROR_INVALID_HANDLE);
    EXPECT_EQ(SetRegistryWord3264(closed, "X", "n", 1, 0), 0);
}

void* NoMemory(std::size_t) { return nullptr; }

TEST_F(Registry, ExhaustedHeapIsReportedNotPassedOffAsSuccess) {
    const cvi::RuntimeAllocator exhausted = &NoMemory;
    EXPECT_EQ(cvi::CreateEmptyKey(HKEY_CURRENT_USER, path, "t", 0, exhausted), ERROR_NOT_ENOUGH_MEMORY);
    EXPECT_EQ(cvi::SetRegistryString(HKEY_CURRENT_USER, path, "n", "t", 0, exhausted),
              ERROR_NOT_ENOUGH_MEMORY);
    EXPECT_EQ(Read(HKEY_CURRENT_USER, path_, nullptr).query, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Read(HKEY_CURRENT_USER, path_, "n").query, ERROR_FILE_NOT_FOUND);
}

TEST_F(Registry, CallersOwnRootKeyStaysOpen) {
    HKEY root = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &root,
                              nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(CreateEmptyKey3264(root, "Sub", "a", 0), 0);
    EXPECT_EQ(SetRegistryString3264(root, "Sub", "s", "b", 1), 0);
    EXPECT_EQ(SetRegistryWord3264(root, "Sub", "w", 3, 2), 1);
    EXPECT_EQ(CreateEmptyKey3264(root, nullptr, "own", 0), 0);  // the root itself

    EXPECT_EQ(RegSetValueExA(root, "after", 0, REG_SZ, reinterpret_cast<const BYTE*>("x"), 2),
              ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(root), ERROR_SUCCESS);
    EXPECT_EQ(Read(HKEY_CURRENT_USER, path_, nullptr).data, Sz("own"));
    EXPECT_EQ(Read(HKEY_CURRENT_USER, path_ + "\\Sub", nullptr).data, Sz("a"));
}

TEST_F(Registry, KeyExistsLooksInTheCallersOwnViewBelowLocalMachine) {
    ASSERT_EQ(CreateEmptyKey3264(HKEY_LOCAL_MACHINE, (Base() + "\\Own").c_str(), nullptr, 0), 0);
    HKEY other = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, (Base() + "\\Other").c_str(), 0, nullptr, 0,
                              KEY_WRITE | kOtherView, nullptr, &other, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(other);
    EXPECT_EQ(RegistryKeyExists((Base() + "\\own").c_str()), 1);
    EXPECT_EQ(RegistryKeyExists((Base() + "\\Other").c_str()), 0);
    EXPECT_EQ(RegistryKeyExists((Base() + "\\Missing").c_str()), 0);
    EXPECT_EQ(RegistryKeyExists(""), 1);  // the root itself
    EXPECT_EQ(RegistryKeyExists(nullptr), 1);
}

}  // namespace
