#include "security/ace_sid.h"

#include <windows.h>

namespace cvi {
namespace {

constexpr DWORD kAfterMask = sizeof(ACE_HEADER) + sizeof(ACCESS_MASK);  // 8
constexpr DWORD kGuidSize = sizeof(GUID);                                // 16

bool IsObjectEntry(BYTE type) {
    switch (type) {
        case ACCESS_ALLOWED_OBJECT_ACE_TYPE:
        case ACCESS_DENIED_OBJECT_ACE_TYPE:
        case SYSTEM_AUDIT_OBJECT_ACE_TYPE:
        case SYSTEM_ALARM_OBJECT_ACE_TYPE:
        case ACCESS_ALLOWED_CALLBACK_OBJECT_ACE_TYPE:
        case ACCESS_DENIED_CALLBACK_OBJECT_ACE_TYPE:
        case SYSTEM_AUDIT_CALLBACK_OBJECT_ACE_TYPE:
        case SYSTEM_ALARM_CALLBACK_OBJECT_ACE_TYPE:
            return true;
        default:
            return false;
    }
}

// Every other entry type in use keeps its SID right after the mask; the
// compound entry of old servers holds two and is left alone.
bool HasSidAfterMask(BYTE type) { return type != ACCESS_ALLOWED_COMPOUND_ACE_TYPE && !IsObjectEntry(type); }

}  // namespace

PSID AceSid(const ACE_HEADER* ace) {
    if (!ace) return nullptr;
    const BYTE* bytes = reinterpret_cast<const BYTE*>(ace);
    const DWORD size = ace->AceSize;

    DWORD offset = kAfterMask;
    if (IsObjectEntry(ace->AceType)) {
        if (size < kAfterMask + sizeof(DWORD)) return nullptr;
        DWORD flags = 0;
        CopyMemory(&flags, bytes + kAfterMask, sizeof(flags));
        offset += sizeof(DWORD);
        if (flags & ACE_OBJECT_TYPE_PRESENT) offset += kGuidSize;
        if (flags & ACE_INHERITED_OBJECT_TYPE_PRESENT) offset += kGuidSize;
    } else if (!HasSidAfterMask(ace->AceType)) {
        return nullptr;
    }

    // The fixed part of a SID (8 bytes) tells how long the whole SID is.
    if (size < offset + 8) return nullptr;
    const SID* sid = reinterpret_cast<const SID*>(bytes + offset);
    if (sid->Revision != SID_REVISION || sid->SubAuthorityCount > SID_MAX_SUB_AUTHORITIES) return nullptr;
    if (size - offset < ::GetSidLengthRequired(sid->SubAuthorityCount)) return nullptr;
    return const_cast<SID*>(sid);
}

}  // namespace cvi
