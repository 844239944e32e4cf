// The MAPI folder search against the stand-in provider named by
// CVI_MAPI_PROVIDER, whose answers and call log live under kAnswers.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <initializer_list>
#include <string>

#include "cvinstaller.h"
#include "mapi/mapi_directory.h"
#include "support/test_support.h"

namespace {

const char kAnswers[] = "Software\\CVINSTALLER-tests\\component-path";
const char kScratch[] = "Software\\CVINSTALLER-tests\\multi-string";
const char kMailClient[] = "Software\\Clients\\Mail\\Microsoft Outlook";

std::string SystemDirectory() {
    char dir[MAX_PATH + 1] = {};
    GetSystemDirectoryA(dir, MAX_PATH);
    return dir;
}

void SetValue(HKEY root, const char* subKey, const char* name, DWORD type, const std::string& data) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(root, subKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                             static_cast<DWORD>(data.size())),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

void SetDword(HKEY root, const char* subKey, const char* name, DWORD value) {
    SetValue(root, subKey, name, REG_DWORD, std::string(reinterpret_cast<const char*>(&value), sizeof value));
}

// What the stand-in answers for a qualifier whose first string is `first`
// ("(null)" for no qualifier).
void Answer(const std::string& first, BOOL result, const std::string& path, bool unterminated = false) {
    const std::string key = std::string(kAnswers) + "\\" + first;
    SetDword(HKEY_CURRENT_USER, key.c_str(), "Result", result);
    SetValue(HKEY_CURRENT_USER, key.c_str(), "Path", REG_SZ, path + '\0');
    if (unterminated) SetDword(HKEY_CURRENT_USER, key.c_str(), "Unterminated", 1);
}

// Mail client qualifiers as stored data, terminators included or not.
void Qualifier(const char* name, DWORD type, const std::string& data) {
    SetValue(HKEY_LOCAL_MACHINE, kMailClient, name, type, data);
}

std::string Calls() {
    char data[4096] = {};
    DWORD size = sizeof data - 1;
    if (RegGetValueA(HKEY_CURRENT_USER, kAnswers, "Calls", RRF_RT_REG_BINARY, nullptr, data, &size) !=
        ERROR_SUCCESS) {
        return "";
    }
    return std::string(data, size);
}

std::string LoadedFrom() {
    char data[MAX_PATH] = {};
    DWORD size = sizeof data;
    RegGetValueA(HKEY_CURRENT_USER, kAnswers, "Module", RRF_RT_REG_SZ, nullptr, data, &size);
    return data;
}

std::string Lower(std::string s) {
    for (auto& c : s) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string Call(const std::string& qualifier, DWORD size) {
    return qualifier + " size=" + std::to_string(size) + " install=1\n";
}

class MapiFolder : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(GetEnvironmentVariableA("CVI_MAPI_PROVIDER", nullptr, 0), 0u)
            << "the stand-in provider must be named for this program";
        Clean();
    }
    void TearDown() override { Clean(); }
    static void Clean() {
        RegDeleteTreeA(HKEY_CURRENT_USER, kAnswers);
        RegDeleteTreeA(HKEY_CURRENT_USER, kScratch);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kMailClient);
    }

    static std::string InitDir(DWORD size = MAX_PATH) {
        char buffer[MAX_PATH] = {};
        InitMAPIDir(buffer, size);
        return buffer;
    }

    const std::string system_ = SystemDirectory();
};

TEST_F(MapiFolder, NoMailClientAndFailingStubGiveTheSystemDirectory) {
    ASSERT_FALSE(system_.empty());
    EXPECT_EQ(InitDir(), system_ + "\\MAPISVC.INF");
    // The one call is the null-qualifier call, with the caller's capacity.
    EXPECT_EQ(Calls(), Call("(null)", MAX_PATH));

    char folder[MAX_PATH] = {};
    cvi::GetMAPIDirectory(folder, sizeof folder, false);
    EXPECT_EQ(folder, system_);
}

TEST_F(MapiFolder, ApplicationQualifierStoredAsPlainStringIsIgnoredAndOfficeOnePassedWhole) {
    Qualifier("MSIApplicationLCID", REG_SZ, std::string("1031\0", 5));
    Qualifier("MSIOfficeLCID", REG_MULTI_SZ, std::string("1033\0NT\0\0", 9));
    Answer("1031", TRUE, "C:\\Wrong\\MAPI32.DLL");
    Answer("1033", TRUE, "C:\\Office\\MAPI\\MSMAPI32.DLL");

    EXPECT_EQ(InitDir(), "C:\\Office\\MAPI\\MAPISVC.INF");
    EXPECT_EQ(Calls(), Call("1033|NT|", MAX_PATH));
}

TEST_F(MapiFolder, FirstUsableAnswerEndsTheSearch) {
    Qualifier("MSIApplicationLCID", REG_MULTI_SZ, std::string("1031\0\0", 6));
    Qualifier("MSIOfficeLCID", REG_MULTI_SZ, std::string("1033\0\0", 6));
    Answer("1031", TRUE, "C:\\App\\MAPI\\MSMAPI32.DLL");
    Answer("1033", TRUE, "C:\\Office\\MAPI\\MSMAPI32.DLL");

    EXPECT_EQ(InitDir(), "C:\\App\\MAPI\\MAPISVC.INF");
    EXPECT_EQ(Calls(), Call("1031|", MAX_PATH));
}

TEST_F(MapiFolder, EmptyOrFailedAnswersMoveOnToTheNextQualifier) {
    Qualifier("MSIApplicationLCID", REG_MULTI_SZ, std::string("1031\0\0", 6));
    Qualifier("MSIOfficeLCID", REG_MULTI_SZ, std::string("1033\0\0", 6));
    Answer("1031", TRUE, "");
    // A path left behind by a failed call is no answer.
    Answer("1033", FALSE, "C:\\Failed\\MSMAPI32.DLL");
    Answer("(null)", TRUE, "C:\\Any\\MAPI\\MSMAPI32.DLL");

    EXPECT_EQ(InitDir(), "C:\\Any\\MAPI\\MAPISVC.INF");
    EXPECT_EQ(Calls(), Call("1031|", MAX_PATH) + Call("1033|", MAX_PATH) + Call("(null)", MAX_PATH));
}

TEST_F(MapiFolder, AnswerWithoutAFolderFallsBackToTheSystemDirectory) {
    Answer("(null)", TRUE, "MSMAPI32.DLL");
    EXPECT_EQ(InitDir(), system_ + "\\MAPISVC.INF");

    Answer("(null)", TRUE, "\\MSMAPI32.DLL");
    EXPECT_EQ(InitDir(), system_ + "\\MAPISVC.INF");
}

TEST_F(MapiFolder, SmallBufferGetsThePathCutAtCapacityLessOne) {
    const std::string full = system_ + "\\MAPISVC.INF";
    const DWORD dirLength = static_cast<DWORD>(system_.size());
    const DWORD fullLength = static_cast<DWORD>(full.size());
    for (DWORD size : std::initializer_list<DWORD>{1, 2, 5, dirLength, dirLength + 1, dirLength + 2,
                                                    dirLength + 5, fullLength, fullLength + 1}) {
        char buffer[MAX_PATH + 8];
        std::memset(buffer, 'Q', sizeof buffer);
        InitMAPIDir(buffer, size);
        EXPECT_EQ(std::string(buffer), full.substr(0, size - 1)) << "size " << size;
        EXPECT_EQ(buffer[size], 'Q') << "wrote past size " << size;
    }

    // The MAPI folder is cut the same way.
    Answer("(null)", TRUE, "C:\\MAPI\\MSMAPI32.DLL");
    EXPECT_EQ(InitDir(12), "C:\\MAPI\\MAP");
}

TEST_F(MapiFolder, NoBufferOrNoRoomWritesNothing) {
    char buffer[4] = {'Q', 'Q', 'Q', 'Q'};
    InitMAPIDir(buffer, 0);
    EXPECT_EQ(std::string(buffer, 4), "QQQQ");
    InitMAPIDir(nullptr, MAX_PATH);
    EXPECT_EQ(Calls(), "") << "asked MAPI with nowhere to put the answer";
}

TEST_F(MapiFolder, AnswerFillingTheWholeBufferIsReadOnlyWithinIt) {
    Answer("(null)", TRUE, "C:\\MAPI\\Folder\\MSMAPI32.DLL", /*unterminated=*/true);
    char buffer[64];
    std::memset(buffer, '\\', sizeof buffer - 1);
    buffer[sizeof buffer - 1] = '\0';
    InitMAPIDir(buffer, 16);
    EXPECT_EQ(std::string(buffer, 15), "C:\\MAPI\\Folder\\");
    EXPECT_EQ(buffer[15], '\0');
    EXPECT_EQ(std::string(buffer + 16), std::string(sizeof buffer - 17, '\\')) << "wrote past the size";
}

// The caller's size is taken at its word only as far as the answer reaches:
// a terminated answer gets no terminator of ours at the far end.
TEST_F(MapiFolder, ATerminatedAnswerIsNotTerminatedAgainAtTheFarEnd) {
    Answer("(null)", TRUE, "C:\\MAPI\\Folder\\MSMAPI32.DLL");
    char buffer[64];
    std::memset(buffer, 'G', sizeof buffer);
    InitMAPIDir(buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "C:\\MAPI\\Folder\\MAPISVC.INF");
    EXPECT_EQ(buffer[sizeof buffer - 1], 'G') << "wrote where the answer does not reach";
}

TEST_F(MapiFolder, ReadMultiStringValueKeepsOnlyNonEmptyMultiStrings) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kScratch, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    SetValue(HKEY_CURRENT_USER, kScratch, "multi", REG_MULTI_SZ, std::string("a\0bc\0\0", 6));
    SetValue(HKEY_CURRENT_USER, kScratch, "bare", REG_MULTI_SZ, "abc");
    SetValue(HKEY_CURRENT_USER, kScratch, "plain", REG_SZ, std::string("abc\0", 4));
    SetValue(HKEY_CURRENT_USER, kScratch, "empty", REG_MULTI_SZ, "");

    cvi::unique_process_heap<char> value;
    cvi::ReadMultiStringValue(key, "multi", value);
    ASSERT_TRUE(value);
    EXPECT_EQ(std::string(value.get(), 8), std::string("a\0bc\0\0\0\0", 8));

    // Stored without its NULs: the block still ends the list.
    cvi::ReadMultiStringValue(key, "bare", value);
    ASSERT_TRUE(value);
    EXPECT_EQ(std::string(value.get(), 5), std::string("abc\0\0", 5));

    for (const char* name : {"plain", "empty", "absent"}) {
        cvi::ReadMultiStringValue(key, name, value);
        EXPECT_FALSE(value) << name;
    }
    RegCloseKey(key);
}

TEST_F(MapiFolder, PropertyActionSucceedsWhenTheInstallerRefusesTheProperty) {
    // No session behind handle 0: MsiSetPropertyA fails, which is not reported.
    EXPECT_EQ(MSI_SetMAPIProperties(0), 0u);
    EXPECT_EQ(Calls(), Call("(null)", MAX_PATH));
}

// Stub folders built from copies: the stand-in answers, and the library
// itself stands for a stub without the entry point.
class StubFolder : public MapiFolder {
protected:
    void Put(const char* name, const char* source) {
        ASSERT_TRUE(CopyFileA((cvi_test::BinDir() + "\\" + source).c_str(), dir_.file(name).c_str(), FALSE))
            << name;
    }
    std::string Find() {
        char buffer[MAX_PATH] = {};
        cvi::FindMAPIDirectory(dir_.path().c_str(), buffer, sizeof buffer, true);
        return buffer;
    }
    cvi_test::TempDir dir_;
};

TEST_F(StubFolder, MapiStubIsAskedFirst) {
    Put("mapistub.dll", "mapi_component_path.dll");
    Put("mapi32.dll", "CVINSTALLER.dll");
    Answer("(null)", TRUE, "C:\\Stub\\MSMAPI32.DLL");
    EXPECT_EQ(Find(), "C:\\Stub\\MAPISVC.INF");
    EXPECT_EQ(Lower(LoadedFrom()), Lower(dir_.file("mapistub.dll")));
}

TEST_F(StubFolder, Mapi32IsAskedWhenMapiStubIsMissingOrLacksTheEntryPoint) {
    // Wine hands out its own mapi32 for that name, which passes the call on
    // to the provider: the answer arrives only if mapi32 was asked.
    Put("mapi32.dll", "mapi_component_path.dll");
    Answer("(null)", TRUE, "C:\\Mapi32\\MSMAPI32.DLL");
    EXPECT_EQ(Find(), "C:\\Mapi32\\MAPISVC.INF");

    Put("mapistub.dll", "CVINSTALLER.dll");
    EXPECT_EQ(Find(), "C:\\Mapi32\\MAPISVC.INF");
}

TEST_F(StubFolder, WithoutAnyEntryPointTheFolderItselfIsTheAnswer) {
    Put("mapistub.dll", "CVINSTALLER.dll");
    Answer("(null)", TRUE, "C:\\Unasked\\MSMAPI32.DLL");
    EXPECT_EQ(Find(), dir_.path() + "\\MAPISVC.INF");
    EXPECT_EQ(Calls(), "");
}

}  // namespace
