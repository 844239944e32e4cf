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

using Bytes = std::vector<BYTE>;

Bytes WellKnown(WELL_KNOWN_SID_TYPE type) {
    Bytes sid(SECURITY_MAX_SID_SIZE);
    DWORD size = static_cast<DWORD>(sid.size());
    EXPECT_TRUE(CreateWellKnownSid(type, nullptr, sid.data(), &size));
    sid.resize(size);
    return sid;
}

Bytes Dword(DWORD value) { return Bytes(reinterpret_cast<BYTE*>(&value), reinterpret_cast<BYTE*>(&value) + 4); }

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// An access list of entries: header, mask, then `body` (object flags and
// GUIDs, then the SID), `cut` bytes short of its length.
class RawAcl {
public:
    RawAcl& Add(BYTE type, BYTE flags, const Bytes& body, WORD cut = 0) {
        const WORD size = static_cast<WORD>(8 + body.size() - cut);
        Bytes ace = Bytes{type, flags, static_cast<BYTE>(size), static_cast<BYTE>(size >> 8)} + Dword(KEY_READ) + body;
        ace.resize(size);
        bytes_ = bytes_ + ace;
        auto* header = reinterpret_cast<ACL*>(bytes_.data());
        header->AclRevision = ACL_REVISION_DS;
        header->AclSize = static_cast<WORD>(bytes_.size());
        ++header->AceCount;
        return *this;
    }
    const ACL* acl() const { return reinterpret_cast<const ACL*>(bytes_.data()); }
    const ACE_HEADER* entry(DWORD index) const {
        void* ace = nullptr;
        EXPECT_TRUE(GetAce(const_cast<ACL*>(acl()), index, &ace));
        return static_cast<const ACE_HEADER*>(ace);
    }

private:
    Bytes bytes_ = Bytes(sizeof(ACL), 0);
};

const Bytes kGuid(16, 0x11);

TEST(AceSid, ObjectEntriesHaveTheirSidAfterFlagsAndGuids) {
    const Bytes admins = WellKnown(WinBuiltinAdministratorsSid);
    RawAcl list;
    list.Add(ACCESS_ALLOWED_ACE_TYPE, 0, admins)
        .Add(ACCESS_ALLOWED_OBJECT_ACE_TYPE, 0, Dword(0) + admins)
        .Add(ACCESS_DENIED_OBJECT_ACE_TYPE, 0, Dword(ACE_OBJECT_TYPE_PRESENT) + kGuid + admins)
        .Add(ACCESS_ALLOWED_OBJECT_ACE_TYPE, 0,
             Dword(ACE_OBJECT_TYPE_PRESENT | ACE_INHERITED_OBJECT_TYPE_PRESENT) + kGuid + kGuid + admins);
    for (DWORD i = 0; i < list.acl()->AceCount; ++i) {
        const PSID sid = cvi::AceSid(list.entry(i));
        ASSERT_NE(sid, nullptr) << i;
        EXPECT_TRUE(EqualSid(sid, const_cast<BYTE*>(admins.data()))) << i;
    }
}

TEST(AceSid, EntriesWithoutAReadableSidHaveNone) {
    const Bytes admins = WellKnown(WinBuiltinAdministratorsSid);
    RawAcl list;
    list.Add(ACCESS_ALLOWED_ACE_TYPE, 0, admins, 4)  // SID cut short
        .Add(ACCESS_ALLOWED_OBJECT_ACE_TYPE, 0, Dword(ACE_OBJECT_TYPE_PRESENT) + kGuid)
        .Add(ACCESS_ALLOWED_COMPOUND_ACE_TYPE, 0, admins)
        .Add(ACCESS_ALLOWED_ACE_TYPE, 0, Bytes(12, 0));  // no SID revision
    for (DWORD i = 0; i < list.acl()->AceCount; ++i) EXPECT_EQ(cvi::AceSid(list.entry(i)), nullptr) << i;
}

TEST(AceSid, SearchFindsTheAccountOfAnObjectEntryAndNothingInItsGuids) {
    const Bytes admins = WellKnown(WinBuiltinAdministratorsSid);
    BYTE* adminsSid = const_cast<BYTE*>(admins.data());
    Bytes system = WellKnown(WinLocalSystemSid);
    // Flags and GUID that read as the system account's SID when taken right
    // after the mask: its first bytes (01 01 00 00) are also valid flags,
    // saying that one GUID follows.
    Bytes flagsAndGuid = system;
    flagsAndGuid.resize(4 + 16, 0);
    DWORD flags = 0;
    std::memcpy(&flags, flagsAndGuid.data(), 4);
    ASSERT_EQ(flags, static_cast<DWORD>(ACE_OBJECT_TYPE_PRESENT | 0x100));
    RawAcl list;
    list.Add(ACCESS_ALLOWED_OBJECT_ACE_TYPE, INHERITED_ACE, flagsAndGuid + admins);

    std::string text;
    EXPECT_EQ(cvi::SearchDaclForAccount(list.acl(), "", adminsSid, false, "", nullptr, text), 1);
    EXPECT_EQ(cvi::SearchDaclForAccount(list.acl(), "", system.data(), false, "", nullptr, text), 0);
    EXPECT_EQ(cvi::SearchDaclForAccount(list.acl(), "Administrators", nullptr, true, "", nullptr, text), 1);
    EXPECT_EQ(cvi::SearchDaclForAccount(list.acl(), "SYSTEM", nullptr, true, "", nullptr, text), 0);
    EXPECT_EQ(text,
              "Resolved [Administrators] 1 Entries (ACEs) in the Access List (DACL), but could not "
              "find account SID that matches within any of them.");
}

}  // namespace
