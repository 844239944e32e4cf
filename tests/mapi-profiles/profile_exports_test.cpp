// CreateProfile and ProfileExists as the setup calls them: exported by
// CVINSTALLER.dll, reaching the provider through Wine's mapi32.
#include <gtest/gtest.h>
#include <mapicode.h>

#include <algorithm>
#include <string>

#include "cvinstaller.h"
#include "stand_in.h"
#include "support/test_support.h"

namespace {

std::string ReadText(const std::string& key, const char* value) {
    char text[256] = {};
    DWORD size = sizeof text - 1;
    if (RegGetValueA(HKEY_CURRENT_USER, key.c_str(), value, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return "<missing>";
    return text;
}

DWORD ReadNumber(const std::string& key, const char* value) {
    DWORD number = 0xDEADBEEF;
    DWORD size = sizeof number;
    RegGetValueA(HKEY_CURRENT_USER, key.c_str(), value, RRF_RT_REG_DWORD, nullptr, &number, &size);
    return number;
}

class ProfileExports : public cvi_test::MapiProfileTest {
protected:
    void SetUp() override {
        MapiProfileTest::SetUp();
        lib_ = LoadLibraryA((cvi_test::BinDir() + "\\CVINSTALLER.dll").c_str());
        ASSERT_NE(lib_, nullptr);
        create = reinterpret_cast<decltype(&CreateProfile)>(
            reinterpret_cast<void*>(GetProcAddress(lib_, "CreateProfile")));
        exists = reinterpret_cast<decltype(&ProfileExists)>(
            reinterpret_cast<void*>(GetProcAddress(lib_, "ProfileExists")));
        ASSERT_TRUE(create && exists);
    }
    void TearDown() override {
        if (lib_) FreeLibrary(lib_);
        MapiProfileTest::TearDown();
    }

    decltype(&CreateProfile) create = nullptr;
    decltype(&ProfileExists) exists = nullptr;

private:
    HMODULE lib_ = nullptr;
};

TEST_F(ProfileExports, CreateProfileStoresTheServiceWithEachValueUnderItsOwnTag) {
    const std::string name = UniqueName("create");
    ASSERT_EQ(create(name.c_str(), "mail.example", "Second Value", "third value", "v4", 2525, "v6", "seventh", "v8"),
              1);
    const std::string journal = standIn.TakeJournal();
    EXPECT_NE(journal.find("HrQueryAllRows.columns=3D09001E,3D0C0102,;"
                           "HrQueryAllRows.restriction=content:00000000:3D09001E:3D09001E:VAVA;"),
              std::string::npos)
        << journal;
    // Row set (one row, then the set), table, service and profile
    // administration, then MAPI itself.
    const std::string tail =
        "IMsgServiceAdmin::ConfigureMsgService;Free;Free;Release:IMAPITable;Release:IMsgServiceAdmin;"
        "Release:IProfAdmin;MAPIUninitialize;";
    EXPECT_EQ(journal.substr(journal.size() - std::min(journal.size(), tail.size())), tail) << journal;
    ExpectNothingHeld();

    const std::string service = ServiceKey(name);
    ASSERT_FALSE(service.empty());
    EXPECT_EQ(ReadText(service, "ServiceName"), "VAVA");
    EXPECT_EQ(ReadText(service, "6671001E"), "mail.example");
    EXPECT_EQ(ReadText(service, "6672001E"), "Second Value");
    EXPECT_EQ(ReadText(service, "6673001E"), "third value");
    EXPECT_EQ(ReadText(service, "6674001E"), "v4");
    EXPECT_EQ(ReadNumber(service, "66750003"), 2525u);
    EXPECT_EQ(ReadText(service, "6676001E"), "v6");
    EXPECT_EQ(ReadText(service, "67F1001E"), "seventh");
    EXPECT_EQ(ReadText(service, "6678001E"), "v8");

    int answer = 7;
    EXPECT_EQ(exists(name.c_str(), &answer), 1);
    EXPECT_EQ(answer, 1);
    EXPECT_NE(standIn.TakeJournal().find("HrQueryAllRows.columns=3001001E,;"
                                         "HrQueryAllRows.restriction=content:00000000:3001001E:3001001E:" +
                                         name + ";"),
              std::string::npos);
    ExpectNothingHeld();
}

TEST_F(ProfileExports, ProfileExistsAnswersNoForUnknownAndDifferentlyCasedNames) {
    const std::string name = UniqueName("lower");
    int answer = 7;
    EXPECT_EQ(exists(name.c_str(), &answer), 1);
    EXPECT_EQ(answer, 0);
    ASSERT_EQ(create(name.c_str(), "1", "2", "3", "4", 5, "6", "7", "8"), 1);
    std::string upper = name;
    for (char& c : upper) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    answer = 7;
    EXPECT_EQ(exists(upper.c_str(), &answer), 1);
    EXPECT_EQ(answer, 0);
    ExpectNothingHeld();
}

TEST_F(ProfileExports, AnExistingProfileIsRefusedAndLeftAsItWas) {
    const std::string name = UniqueName("twice");
    ASSERT_EQ(create(name.c_str(), "first", "2", "3", "4", 5, "6", "7", "8"), 1);
    EXPECT_EQ(create(name.c_str(), "second", "2", "3", "4", 5, "6", "7", "8"), 0);
    EXPECT_EQ(ReadText(ServiceKey(name), "6671001E"), "first");
    ExpectNothingHeld();
}

TEST_F(ProfileExports, AProfileLeftBehindByAFailureIsReportedAndBlocksItsName) {
    const std::string name = UniqueName("left");
    standIn.Arm("IMsgServiceAdmin::ConfigureMsgService", MAPI_E_CALL_FAILED);
    EXPECT_EQ(create(name.c_str(), "1", "2", "3", "4", 5, "6", "7", "8"), 0);
    standIn.Disarm();
    int answer = 7;
    EXPECT_EQ(exists(name.c_str(), &answer), 1);
    EXPECT_EQ(answer, 1);
    EXPECT_EQ(create(name.c_str(), "1", "2", "3", "4", 5, "6", "7", "8"), 0);
    ExpectNothingHeld();
}

TEST_F(ProfileExports, NullNameOrAnswerPointerFailsWithoutTouchingMapi) {
    int answer = 7;
    EXPECT_EQ(create(nullptr, "1", "2", "3", "4", 5, "6", "7", "8"), 0);
    EXPECT_EQ(exists(nullptr, &answer), 0);
    EXPECT_EQ(answer, 7);
    EXPECT_EQ(exists(UniqueName("null").c_str(), nullptr), 0);
    EXPECT_EQ(standIn.TakeJournal(), "");
    ExpectNothingHeld();
}

TEST_F(ProfileExports, WithoutAProviderBothExportsFail) {
    const auto environment = cvi_test::EnvironmentWith({"CVI_MAPI_PROVIDER="});
    const std::string runner = cvi_test::BinDir() + "\\profile_runner.exe";
    const std::string name = UniqueName("no-provider");
    std::string output;
    EXPECT_EQ(cvi_test::RunCaptured(runner, "exists " + name, output, environment), 7u);
    EXPECT_EQ(cvi_test::RunCaptured(runner, "create " + name, output, environment), 0u);
    int answer = 7;
    EXPECT_EQ(exists(name.c_str(), &answer), 1);
    EXPECT_EQ(answer, 0);
}

}  // namespace
