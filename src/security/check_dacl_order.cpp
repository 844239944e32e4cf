#include <windows.h>

#include "security/access_control.h"
#include "security/dacl_reader.h"

namespace cvi {

LONG CheckAceOrder(const ACL* dacl) {
    PACL list = const_cast<PACL>(dacl);
    long lastExplicit = -1;
    long lastInherited = -1;
    bool outOfOrder = false;
    for (WORD index = 0; index < dacl->AceCount; ++index) {
        void* ace = nullptr;
        if (!::GetAce(list, index, &ace)) continue;
        if (static_cast<const ACE_HEADER*>(ace)->AceFlags & INHERITED_ACE) {
            lastInherited = index;
        } else {
            lastExplicit = index;
        }
        if (lastExplicit >= 0 && lastInherited >= 0 && lastExplicit > lastInherited) outOfOrder = true;
    }
    return outOfOrder ? 0 : 1;
}

LONG CheckDaclOrder(const char* target) {
    const DaclReading reading = ReadTargetDacl(target);
    switch (reading.status) {
        case DaclStatus::KeyNotOpened:
            return 0;
        case DaclStatus::Failed:
            return kSecurityUnavailable;
        case DaclStatus::NullDacl:
            return 1;
        case DaclStatus::Entries:
            break;
    }
    return CheckAceOrder(reading.dacl);
}

}  // namespace cvi
