// Reading back the service's stored configuration, service lookup, and
// profile removal.
#include <gtest/gtest.h>
#include <mapicode.h>

#include <algorithm>
#include <string>

#include "SERVICES/Library/exception.h"
#include "SERVICES/Library/vava_profile_management.h"
#include "cvinstaller.h"
#include "stand_in.h"

namespace {

using cvi::VAVAProfileManagement;

class ServiceConfiguration : public cvi_test::MapiProfileTest {
protected:
    void SetUp() override {
        MapiProfileTest::SetUp();
        name = UniqueName("config");
        ASSERT_EQ(CreateProfile(name.c_str(), "v1", "v2", "v3", "v4", 5, "v6", "Seventh", "v8"), 1);
        VAVAProfileManagement::InitMAPI();
        standIn.TakeJournal();
    }
    void TearDown() override {
        VAVAProfileManagement::UninitMAPI();
        ExpectNothingHeld();
        MapiProfileTest::TearDown();
    }
    bool Matches(const char* v1, const char* v2, const char* v3, LONG v5, const char* v7) {
        return VAVAProfileManagement::ServiceConfigurationMatches(name.c_str(), v1, v2, v3, "v4", v5, "v6", v7,
                                                                  "v8");
    }
    int LineRaised() {
        try {
            Matches("v1", "v2", "v3", 5, "Seventh");
        } catch (const cvi::Exception& e) {
            return e.GetLine();
        }
        return 0;
    }

    std::string name;
};

TEST_F(ServiceConfiguration, MatchesOnlyTheStoredValuesInTheirOrder) {
    EXPECT_TRUE(Matches("v1", "v2", "v3", 5, "Seventh"));
    const std::string journal = standIn.TakeJournal();
    EXPECT_NE(journal.find("HrQueryAllRows.columns=3D09001E,3D0C0102,3D0D0102,;"
                           "HrQueryAllRows.restriction=content:00000000:3D09001E:3D09001E:VAVA;"),
              std::string::npos)
        << journal;
    // Lookup clean-up (row set, table, service administration) before the
    // section is read; the section released before its values are freed.
    const std::string tail =
        "IMsgServiceAdmin::OpenProfileSection;OpenProfileSection.flags=00080000;Free;Free;Release:IMAPITable;"
        "Release:IMsgServiceAdmin;IMAPIProp::GetProps;"
        "GetProps.tags=6671001E,6672001E,6673001E,6674001E,66750003,6676001E,67F1001E,6678001E,;"
        "Release:IProfSect;Free;";
    EXPECT_EQ(journal.substr(journal.size() - std::min(journal.size(), tail.size())), tail) << journal;

    EXPECT_FALSE(Matches("v1", "v2", "v3", 5, "seventh")) << "letter case must count";
    EXPECT_FALSE(Matches("v1", "v3", "v2", 5, "Seventh")) << "values must keep their positions";
    EXPECT_FALSE(Matches("v1", "v2", "v3", 6, "Seventh"));
    EXPECT_FALSE(Matches("v1", "v2", "v3", 5, "Seventh8"));
    EXPECT_FALSE(Matches("v1", nullptr, "v3", 5, "Seventh"));
}

TEST_F(ServiceConfiguration, ASectionLackingOnePropertyDoesNotMatch) {
    ASSERT_EQ(RegDeleteKeyValueA(HKEY_CURRENT_USER, ServiceKey(name).c_str(), "6676001E"), ERROR_SUCCESS);
    EXPECT_FALSE(Matches("v1", "v2", "v3", 5, "Seventh"));
}

TEST_F(ServiceConfiguration, TwoServicesAreTooManyAndNoSectionIsOpened) {
    IMsgServiceAdmin* admin = VAVAProfileManagement::OpenServiceAdmin(name.c_str());
    ASSERT_NE(admin, nullptr);
    ASSERT_EQ(admin->CreateMsgService(const_cast<LPSTR>("VAVA"), nullptr, 0, 0), S_OK);
    admin->Release();
    standIn.TakeJournal();
    EXPECT_EQ(LineRaised(), 578);
    EXPECT_EQ(standIn.TakeJournal().find("OpenProfileSection"), std::string::npos);
}

TEST_F(ServiceConfiguration, AProfileWithoutTheServiceIsReportedAsSuch) {
    name = UniqueName("no-service");
    standIn.Arm("IMsgServiceAdmin::CreateMsgService", MAPI_E_NOT_FOUND);
    ASSERT_EQ(CreateProfile(name.c_str(), "v1", "v2", "v3", "v4", 5, "v6", "Seventh", "v8"), 0);
    standIn.Disarm();
    EXPECT_EQ(LineRaised(), 573);
}

TEST_F(ServiceConfiguration, TheOpenedSectionIsTheCallersToRelease) {
    IProfSect* section = VAVAProfileManagement::OpenServiceProfileSection(name.c_str());
    ASSERT_NE(section, nullptr);
    EXPECT_EQ(standIn.Counters().liveObjects, 1);
    EXPECT_EQ(standIn.Counters().outstandingBuffers, 0);
    section->Release();
}

TEST_F(ServiceConfiguration, RemovedProfileIsGone) {
    VAVAProfileManagement::RemoveProfile(name.c_str());
    EXPECT_FALSE(VAVAProfileManagement::HasProfile(name.c_str()));
    EXPECT_EQ(LineRaised(), 510);
}

}  // namespace
