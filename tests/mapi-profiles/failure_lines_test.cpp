// Every failing step of the profile operations, reached by making the MAPI
// stand-in fail that step: the record names the step, and nothing obtained
// before it is left behind.
#include <gtest/gtest.h>
#include <mapicode.h>

#include <string>

#include "SERVICES/Library/exception.h"
#include "SERVICES/Library/vava_profile_management.h"
#include "cvinstaller.h"
#include "stand_in.h"

namespace {

using cvi::VAVAProfileManagement;

const char kSource[] = "..\\..\\SERVICES\\Library\\LIBMAPIProfile";

struct FailureCase {
    const char* call;  // the call the stand-in fails
    HRESULT result;    // non-negative: it answers with nothing instead
    const char* message;
    int line;
};

template <typename Op>
cvi::Exception Raised(Op op) {
    try {
        op();
    } catch (const cvi::Exception& e) {
        return e;
    }
    ADD_FAILURE() << "no record raised";
    return cvi::Exception("", "", 0);
}

bool Stored(const std::string& profile) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, (std::string(CVI_STAND_IN_STORE) + "\\" + profile).c_str(), 0, KEY_READ,
                      &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

int CreateWithValues(const std::string& name) {
    return CreateProfile(name.c_str(), "v1", "v2", "v3", "v4", 5, "v6", "v7", "v8");
}

class FailureLines : public cvi_test::MapiProfileTest {
protected:
    void ExpectRecord(const cvi::Exception& e, const FailureCase& c) {
        EXPECT_EQ(e.GetMessageText(), c.message);
        EXPECT_EQ(e.GetSourceFile(), kSource);
        EXPECT_EQ(e.GetLine(), c.line);
    }
};

TEST_F(FailureLines, InitialisationFailureEndsBothExportsUntouched) {
    standIn.Arm("MAPIInitialize", MAPI_E_CALL_FAILED);
    ExpectRecord(Raised([] { VAVAProfileManagement::InitMAPI(); }),
                 {"", 0, "Error initialising MAPI", 121});
    const std::string name = UniqueName("init");
    int exists = 7;
    EXPECT_EQ(ProfileExists(name.c_str(), &exists), 0);
    EXPECT_EQ(exists, 7);
    EXPECT_EQ(CreateWithValues(name), 0);
    EXPECT_FALSE(Stored(name));
    ExpectNothingHeld();
}

TEST_F(FailureLines, CreateServiceProfileRaisesAtTheFailingStepAfterReleasingAll) {
    const FailureCase cases[] = {
        {"MAPIAdminProfiles", MAPI_E_CALL_FAILED, "Error getting IProfAdmin interface", 166},
        {"IProfAdmin::CreateProfile", MAPI_E_NO_ACCESS, "Error creating profile", 176},
        {"IProfAdmin::AdminServices", MAPI_E_NOT_FOUND, "Error getting IMsgServiceAdmin interface", 188},
        {"IMsgServiceAdmin::CreateMsgService", MAPI_E_NOT_FOUND, "Error creating Corvane message service", 199},
        {"IMsgServiceAdmin::GetMsgServiceTable", MAPI_E_NOT_ENOUGH_MEMORY, "Error getting Message Service Table",
         210},
        {"HrQueryAllRows", MAPI_E_TOO_COMPLEX, "Error querying table for new message service", 233},
        // The query succeeds without the service: no row to read.
        {"HrQueryAllRows", S_OK, "Error querying table for new message service", 233},
        {"IMsgServiceAdmin::CreateMsgService", S_OK, "Error querying table for new message service", 233},
        {"IMsgServiceAdmin::ConfigureMsgService", MAPI_E_CALL_FAILED,
         "Error configuring message service (0x80004005)", 280},
        {"IMsgServiceAdmin::ConfigureMsgService", MAPI_E_NOT_FOUND,
         "Error configuring message service (0x8004010f)", 280},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(std::string(c.call) + " at line " + std::to_string(c.line));
        const std::string name = UniqueName("create");
        VAVAProfileManagement::InitMAPI();
        standIn.Arm(c.call, c.result);
        ExpectRecord(Raised([&] {
                         VAVAProfileManagement::CreateServiceProfile(name.c_str(), "v1", "v2", "v3", "v4", 5, "v6",
                                                                     "v7", "v8");
                     }),
                     c);
        standIn.Disarm();
        VAVAProfileManagement::UninitMAPI();
        ExpectNothingHeld();
        // Nothing is undone: a profile made before the failing step stays.
        EXPECT_EQ(Stored(name), c.line >= 188);

        const std::string viaExport = UniqueName("create-export");
        standIn.Arm(c.call, c.result);
        EXPECT_EQ(CreateWithValues(viaExport), 0);
        standIn.Disarm();
        ExpectNothingHeld();
    }
}

TEST_F(FailureLines, HasProfileRaisesAtTheFailingStepAfterReleasingAll) {
    const FailureCase cases[] = {
        {"MAPIAdminProfiles", MAPI_E_CALL_FAILED, "Failed to get IProfAdmin interface", 431},
        {"IProfAdmin::GetProfileTable", MAPI_E_NO_ACCESS, "Failed to get profile table", 438},
        {"HrQueryAllRows", MAPI_E_TOO_COMPLEX, "Query on profile table failed", 457},
    };
    const std::string name = UniqueName("has");
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.call);
        VAVAProfileManagement::InitMAPI();
        standIn.Arm(c.call, c.result);
        ExpectRecord(Raised([&] { VAVAProfileManagement::HasProfile(name.c_str()); }), c);
        int exists = 7;
        EXPECT_EQ(ProfileExists(name.c_str(), &exists), 0);
        EXPECT_EQ(exists, 7);
        standIn.Disarm();
        VAVAProfileManagement::UninitMAPI();
        ExpectNothingHeld();
    }
}

// ServiceConfigurationMatches runs OpenServiceProfileSection, which runs
// OpenServiceAdmin: a record from any level reaches its caller unchanged.
TEST_F(FailureLines, ServiceLookupRaisesAtTheFailingStepAfterReleasingAll) {
    const FailureCase cases[] = {
        {"MAPIAdminProfiles", MAPI_E_CALL_FAILED, "Failed to get IProfAdmin interface", 500},
        {"IProfAdmin::AdminServices", MAPI_E_NOT_FOUND, "Error getting IMsgServiceAdmin interface", 510},
        {"IMsgServiceAdmin::GetMsgServiceTable", MAPI_E_CALL_FAILED, "Failed to get the message services table",
         555},
        {"HrQueryAllRows", MAPI_E_TOO_COMPLEX,
         "Failed to query message services table for Corvane Message Service", 568},
        {"HrQueryAllRows", S_OK, "Corvane Message Service not found in message services table", 573},
        {"IMsgServiceAdmin::OpenProfileSection", MAPI_E_NO_ACCESS, "Failed to get service profile section", 586},
        {"IMAPIProp::GetProps", MAPI_E_CALL_FAILED,
         "Failed to get service configuration properties from the profile section", 360},
    };
    const std::string name = UniqueName("lookup");
    ASSERT_EQ(CreateWithValues(name), 1);
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.call);
        VAVAProfileManagement::InitMAPI();
        standIn.Arm(c.call, c.result);
        ExpectRecord(Raised([&] {
                         VAVAProfileManagement::ServiceConfigurationMatches(name.c_str(), "v1", "v2", "v3", "v4",
                                                                            5, "v6", "v7", "v8");
                     }),
                     c);
        standIn.Disarm();
        VAVAProfileManagement::UninitMAPI();
        ExpectNothingHeld();
    }
}

TEST_F(FailureLines, RemoveProfileRaisesWhenMapiRefuses) {
    const std::string name = UniqueName("remove");
    ASSERT_EQ(CreateWithValues(name), 1);
    VAVAProfileManagement::InitMAPI();
    standIn.Arm("MAPIAdminProfiles", MAPI_E_CALL_FAILED);
    ExpectRecord(Raised([&] { VAVAProfileManagement::RemoveProfile(name.c_str()); }),
                 {"", 0, "Error getting IProfAdmin interface", 314});
    standIn.Disarm();
    EXPECT_TRUE(Stored(name));
    VAVAProfileManagement::RemoveProfile(name.c_str());
    EXPECT_FALSE(Stored(name));
    // A name no profile has is refused by MAPI itself.
    ExpectRecord(Raised([&] { VAVAProfileManagement::RemoveProfile(name.c_str()); }),
                 {"", 0, "Error deleting profile", 321});
    VAVAProfileManagement::UninitMAPI();
    ExpectNothingHeld();
}

}  // namespace
