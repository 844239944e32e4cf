// Entries built in memory, for the layouts the registry of the test system
// refuses to store (object entries).
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "security/access_control.h"
#include "security/ace_sid.h"

namespace {

std::vector<BYTE> WellKnown(WELL_KNOWN_SID_TYPE type) {
    std::vector<BYTE> sid(SECURITY_MAX_SID_SIZE);
    DWORD size = static_cast<DWORD>(sid.size());
    EXPECT_TRUE(CreateWellKnownSid(type, nullptr, sid.data(), &size));
    sid.resize(size);
    return sid;
}

// An access list assembled entry by entry.
class RawAcl {
public:
    RawAcl() : bytes_(sizeof(ACL), 0) {}

    // Header, mask, then `middle` (object flags and GUIDs) and the SID.
    void Add(BYTE type, BYTE flags, const std::vector<BYTE>& middle, const std::vector<BYTE>& sid,
             WORD sizeCut = 0) {
        const WORD size = static_cast<WORD>(8 + middle.size() + sid.size() - sizeCut);
        std::vector<BYTE> ace(8, 0);
        ace[0] = type;
        ace[1] = flags;
        std::memcpy(&ace[2], &size, 2);
        const DWORD mask = KEY_READ;
        std::memcpy(&ace[4], &mask, 4);
        ace.insert(ace.end(), middle.begin(), middle.end());
        ace.insert(ace.end(), sid.begin(), sid.end());
        ace.resize(size);
        bytes_.insert(bytes_.end(), ace.begin(), ace.end());
        ++count_;
    }
    const ACL* acl() {
        ACL* header = reinterpret_cast<ACL*>(bytes_.data());
        header->AclRevision = ACL_REVISION_DS;
        header->AclSize = static_cast<WORD>(bytes_.size());
        header->AceCount = count_;
        return header;
    }

private:
    std::vector<BYTE> bytes_;
    WORD count_ = 0;
};

std::vector<BYTE> ObjectMiddle(DWORD flags) {
    std::vector<BYTE> middle(4);
    std::memcpy(middle.data(), &flags, 4);
    if (flags & ACE_OBJECT_TYPE_PRESENT) middle.insert(middle.end(), 16, 0x11);
    if (flags & ACE_INHERITED_OBJECT_TYPE_PRESENT) middle.insert(middle.end(), 16, 0x22);
    return middle;
}

const ACE_HEADER* Entry(const ACL* acl, DWORD index) {
    void* ace = nullptr;
    EXPECT_TRUE(GetAce(const_cast<PACL>(acl), index, &ace));
    return static_cast<const ACE_HEADER*>(ace);
}

TEST(AceSid, ObjectEntriesHaveTheirSidAfterFlagsAndGuids) {
    const auto admins = WellKnown(WinBuiltinAdministratorsSid);
    RawAcl list;
    list.Add(ACCESS_ALLOWED_ACE_TYPE, 0, {}, admins);
    list.Add(ACCESS_ALLOWED_OBJECT_ACE_TYPE, 0, ObjectMiddle(0), admins);
    list.Add(ACCESS_DENIED_OBJECT_ACE_TYPE, 0, ObjectMiddle(ACE_OBJECT_TYPE_PRESENT), admins);
    list.Add(ACCESS_ALLOWED_OBJECT_ACE_TYPE, 0,
             ObjectMiddle(ACE_OBJECT_TYPE_PRESENT | ACE_INHERITED_OBJECT_TYPE_PRESENT), admins);
    const ACL* acl = list.acl();
    for (DWORD i = 0; i < acl->AceCount; ++i) {
        SCOPED_TRACE(i);
        const PSID sid = cvi::AceSid(Entry(acl, i));
        ASSERT_NE(sid, nullptr);
        EXPECT_TRUE(EqualSid(sid, const_cast<BYTE*>(admins.data())));
    }
}

TEST(AceSid, EntriesWithoutAReadableSidHaveNone) {
    const auto admins = WellKnown(WinBuiltinAdministratorsSid);
    RawAcl list;
    list.Add(ACCESS_ALLOWED_ACE_TYPE, 0, {}, admins, 4);                    // SID cut short
    list.Add(ACCESS_ALLOWED_OBJECT_ACE_TYPE, 0, ObjectMiddle(ACE_OBJECT_TYPE_PRESENT), {});
    list.Add(ACCESS_ALLOWED_COMPOUND_ACE_TYPE, 0, {}, admins);
    list.Add(ACCESS_ALLOWED_ACE_TYPE, 0, {}, std::vector<BYTE>(12, 0));     // no SID revision
    const ACL* acl = list.acl();
    for (DWORD i = 0; i < acl->AceCount; ++i) EXPECT_EQ(cvi::AceSid(Entry(acl, i)), nullptr) << i;
}

TEST(AceSid, SearchFindsTheAccountOfAnObjectEntryAndNothingInItsGuids) {
    const auto admins = WellKnown(WinBuiltinAdministratorsSid);
    const auto system = WellKnown(WinLocalSystemSid);
    // Flags and GUID that read as the system account's SID when taken right
    // after the mask: its first bytes (01 01 00 00) are also valid flags,
    // saying that one GUID follows.
    std::vector<BYTE> middle = system;
    ASSERT_EQ(middle.size(), 12u);
    middle.resize(4 + 16, 0);
    DWORD flags = 0;
    std::memcpy(&flags, middle.data(), 4);
    ASSERT_EQ(flags, static_cast<DWORD>(ACE_OBJECT_TYPE_PRESENT | 0x100));

    RawAcl list;
    list.Add(ACCESS_ALLOWED_OBJECT_ACE_TYPE, INHERITED_ACE, middle, admins);
    const ACL* acl = list.acl();

    std::string text;
    EXPECT_EQ(cvi::SearchDaclForAccount(acl, "", const_cast<BYTE*>(admins.data()), false, "",
                                        nullptr, text),
              1);
    EXPECT_EQ(cvi::SearchDaclForAccount(acl, "", const_cast<BYTE*>(system.data()), false, "",
                                        nullptr, text),
              0);
    EXPECT_EQ(cvi::SearchDaclForAccount(acl, "Administrators", nullptr, true, "", nullptr, text), 1);
    EXPECT_EQ(cvi::SearchDaclForAccount(acl, "SYSTEM", nullptr, true, "", nullptr, text), 0);
    EXPECT_EQ(text,
              "Resolved [Administrators] 1 Entries (ACEs) in the Access List (DACL), but could not "
              "find account SID that matches within any of them.");
}

}  // namespace
