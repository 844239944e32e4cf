// Target texts and diagnostic texts: no system calls involved.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "security/dacl_messages.h"
#include "security/security_target.h"

namespace {

TEST(SecurityTarget, MarkersNameTheRootWhereverTheyStand) {
    using cvi::TargetRoot;
    const struct {
        const char* target;
        TargetRoot root;
        const char* path;
    } cases[] = {
        {"REG:HKLM::Software\\A", TargetRoot::LocalMachine, "Software\\A"},
        {"key REG:HKLM::Software\\A", TargetRoot::LocalMachine, "Software\\A"},
        {"REG:HKCR::.txt", TargetRoot::ClassesRoot, ".txt"},
        // HKLM wins wherever it stands; the first occurrence counts.
        {"REG:HKCR::x REG:HKLM::y REG:HKLM::z", TargetRoot::LocalMachine, "y REG:HKLM::z"},
        {"REG:Software\\A", TargetRoot::LocalMachine, "Software\\A"},
        // Any other root is taken literally below HKLM.
        {"REG:HKCU::Software", TargetRoot::LocalMachine, "HKCU::Software"},
        {"C:\\windows\\win.ini", TargetRoot::File, "C:\\windows\\win.ini"},
        {"reg:HKLM::Software", TargetRoot::File, "reg:HKLM::Software"},  // case matters
        {nullptr, TargetRoot::File, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target ? c.target : "(null)");
        const cvi::SecurityTarget parsed = cvi::ParseSecurityTarget(c.target);
        EXPECT_EQ(parsed.root, c.root);
        EXPECT_STREQ(parsed.path, c.path);
    }
}

TEST(DiagnosticTexts, CodesAreWrittenAsSignedDecimal) {
    EXPECT_EQ(cvi::LongToString(0), "0");
    EXPECT_EQ(cvi::LongToString(INT32_MIN), "-2147483648");
    EXPECT_EQ(cvi::LongToString(INT32_MAX), "2147483647");
    EXPECT_EQ(cvi::SecurityReadFailedText(5), "Failed to get file security information (5)");
    EXPECT_EQ(cvi::DaclRetrievalFailedText(0x80004005u),
              "Failed to retrieve DACL from security descriptor (-2147467259)");
    EXPECT_EQ(cvi::AceReadFailedText(3, 87), "Failed to get ace 3 (87)");
}

}  // namespace
