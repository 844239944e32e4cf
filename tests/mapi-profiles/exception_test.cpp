// The error record's full text and the configuration failure's message.
#include <gtest/gtest.h>

#include <string>

#include "SERVICES/Library/exception.h"
#include "SERVICES/Library/profile_failure.h"

namespace {

const char kSource[] = "..\\..\\SERVICES\\Library\\LIBMAPIProfile";

TEST(ExceptionFullText, JoinsMessageSourceAndLine) {
    EXPECT_EQ(cvi::Exception("Error creating profile", kSource, 176).GetFullText(),
              "Error creating profile (..\\..\\SERVICES\\Library\\LIBMAPIProfile:176)");
}

TEST(ExceptionFullText, LeavesOutWhatIsMissing) {
    EXPECT_EQ(cvi::Exception("", kSource, 7).GetFullText(), std::string("(") + kSource + ":7)");
    EXPECT_EQ(cvi::Exception("No source", "", 42).GetFullText(), "No source ");
    EXPECT_EQ(cvi::Exception("m", "f", 0).GetFullText(), "m (f)");
    EXPECT_EQ(cvi::Exception("", "f", 0).GetFullText(), "(f)");
    EXPECT_EQ(cvi::Exception("m", "f", -3).GetFullText(), "m (f)");
    EXPECT_EQ(cvi::Exception("", "", 5).GetFullText(), "");
    EXPECT_EQ(cvi::Exception("m", "f", 2147483647).GetFullText(), "m (f:2147483647)");
}

// Each operation hands the record on as a copy after its clean-up; what the
// export finally catches is the record the failing step raised.
TEST(ExceptionRecord, AHandedOnCopyCarriesTheRaisedRecord) {
    try {
        try {
            cvi::RaiseProfileFailure("Error deleting profile", 321);
        } catch (const cvi::Exception& record) {
            throw record;
        }
    } catch (const cvi::Exception& handedOn) {
        EXPECT_EQ(handedOn.GetMessageText(), "Error deleting profile");
        EXPECT_EQ(handedOn.GetSourceFile(), kSource);
        EXPECT_EQ(handedOn.GetLine(), 321);
        EXPECT_EQ(handedOn.GetFullText(), std::string("Error deleting profile (") + kSource + ":321)");
        return;
    }
    ADD_FAILURE() << "no record arrived";
}

TEST(ConfigureFailureMessage, HexOfTheUnsignedResultLowercaseWithoutLeadingZeros) {
    EXPECT_EQ(cvi::ConfigureFailureMessage(0x80004005u), "Error configuring message service (0x80004005)");
    EXPECT_EQ(cvi::ConfigureFailureMessage(0x8004010Fu), "Error configuring message service (0x8004010f)");
    EXPECT_EQ(cvi::ConfigureFailureMessage(0xFFFFFFFFu), "Error configuring message service (0xffffffff)");
    EXPECT_EQ(cvi::ConfigureFailureMessage(0x00000A0u), "Error configuring message service (0xa0)");
}

}  // namespace
