// Target texts and diagnostic texts: no system calls involved.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "security/dacl_messages.h"
#include "security/security_target.h"

using cvi::ParseSecurityTarget;
using cvi::TargetRoot;

namespace {

void ExpectTarget(const char* target, TargetRoot root, const std::string& path) {
    SCOPED_TRACE(target ? target : "(null)");
    const cvi::SecurityTarget parsed = ParseSecurityTarget(target);
    EXPECT_EQ(parsed.root, root);
    EXPECT_EQ(std::string(parsed.path), path);
}

TEST(SecurityTarget, MarkersAnywhereInTheTextNameTheRoot) {
    ExpectTarget("REG:HKLM::Software\\A", TargetRoot::LocalMachine, "Software\\A");
    ExpectTarget("key REG:HKLM::Software\\A", TargetRoot::LocalMachine, "Software\\A");
    ExpectTarget("REG:HKCR::.txt", TargetRoot::ClassesRoot, ".txt");
    // HKLM wins wherever it stands; the first occurrence counts.
    ExpectTarget("REG:HKCR::x REG:HKLM::y REG:HKLM::z", TargetRoot::LocalMachine, "y REG:HKLM::z");
    ExpectTarget("REG:Software\\A", TargetRoot::LocalMachine, "Software\\A");
}

TEST(SecurityTarget, OtherRootsAreTakenLiterallyBelowLocalMachine) {
    ExpectTarget("REG:HKCU::Software", TargetRoot::LocalMachine, "HKCU::Software");
    ExpectTarget("REG:HKLM:Software", TargetRoot::LocalMachine, "HKLM:Software");
}

TEST(SecurityTarget, WithoutTheMarkerTheTextIsAPath) {
    ExpectTarget("C:\\windows\\win.ini", TargetRoot::File, "C:\\windows\\win.ini");
    ExpectTarget("reg:HKLM::Software", TargetRoot::File, "reg:HKLM::Software");  // case matters
    ExpectTarget("", TargetRoot::File, "");
    ExpectTarget(nullptr, TargetRoot::File, "");
}

TEST(DiagnosticTexts, NumbersAreSignedDecimal) {
    EXPECT_EQ(cvi::LongToString(0), "0");
    EXPECT_EQ(cvi::LongToString(-1), "-1");
    EXPECT_EQ(cvi::LongToString(INT32_MIN), "-2147483648");
    EXPECT_EQ(cvi::LongToString(INT32_MAX), "2147483647");
    EXPECT_EQ(cvi::SecurityReadFailedText(5), "Failed to get file security information (5)");
    EXPECT_EQ(cvi::DaclRetrievalFailedText(0x80004005u),
              "Failed to retrieve DACL from security descriptor (-2147467259)");
    EXPECT_EQ(cvi::AceReadFailedText(3, 87), "Failed to get ace 3 (87)");
}

const std::string kClosing =
    " Entries (ACEs) in the Access List (DACL), but could not find account SID that matches "
    "within any of them.";

TEST(DiagnosticTexts, NoMatchTextsOfBothModes) {
    EXPECT_EQ(cvi::NoMatchingEntryText(false, "ignored", "ignored", 0), "Checked 0" + kClosing);
    EXPECT_EQ(cvi::NoMatchingEntryText(true, nullptr, "SYSTEM,Everyone", 3),
              "Resolved [SYSTEM,Everyone] 3" + kClosing);
    EXPECT_EQ(cvi::NoMatchingEntryText(true, "HOST", "", 65535),
              "Resolved against HOST finding [] 65535" + kClosing);
    // A given but empty system name leaves two blanks between the words.
    EXPECT_EQ(cvi::NoMatchingEntryText(true, "", "A", 1), "Resolved against  finding [A] 1" + kClosing);
}

}  // namespace
