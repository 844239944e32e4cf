#include <windows.h>

#include <cstring>
#include <string>

#include "security/access_control.h"
#include "security/ace_sid.h"
#include "security/dacl_messages.h"
#include "security/dacl_reader.h"

namespace cvi {
namespace {

constexpr DWORD kSidBufferSize = 500;
constexpr DWORD kSystemNameBufferSize = 500;  // 499 characters and the terminator
constexpr DWORD kAccountDomainCapacity = 100;
constexpr DWORD kEntryNameCapacity = 260;

}  // namespace

LONG SearchDaclForAccount(const ACL* dacl, const char* account, PSID accountSid,
                          bool resolveByName, const char* lookupSystem,
                          const char* givenSystemName, std::string& diagnostic) {
    PACL list = const_cast<PACL>(dacl);
    std::string names;
    for (WORD index = 0; index < dacl->AceCount; ++index) {
        void* ace = nullptr;
        if (!::GetAce(list, index, &ace)) {
            diagnostic = AceReadFailedText(index, ::GetLastError());
            continue;
        }
        const PSID entrySid = AceSid(static_cast<const ACE_HEADER*>(ace));
        if (!entrySid) continue;

        if (!resolveByName) {
            if (::EqualSid(entrySid, accountSid)) return 1;
            continue;
        }
        char entryName[kEntryNameCapacity];
        char entryDomain[kEntryNameCapacity];
        DWORD nameCapacity = kEntryNameCapacity;
        DWORD domainCapacity = kEntryNameCapacity;
        SID_NAME_USE use;
        if (!::LookupAccountSidA(lookupSystem, entrySid, entryName, &nameCapacity, entryDomain,
                                 &domainCapacity, &use)) {
            continue;  // an entry that names no account on that system
        }
        if (::_stricmp(entryName, account) == 0) return 1;
        if (!names.empty()) names += ',';
        names += entryName;
    }
    diagnostic = NoMatchingEntryText(resolveByName, givenSystemName, names, dacl->AceCount);
    return 0;
}

LONG FindAccountInDacl(const char* account, const char* target, std::string& diagnostic,
                       int resolveByName, const char* systemName) {
    diagnostic = kUnspecifiedError;
    if (!account) {
        diagnostic = kAccountDoesNotExist;
        return 0;
    }

    char system[kSystemNameBufferSize] = {};
    if (systemName) {
        const size_t length = std::strlen(systemName);
        // A shortened name would ask another computer than the one meant.
        if (length >= kSystemNameBufferSize) {
            diagnostic = kSystemNameTooLong;
            return 0;
        }
        std::memcpy(system, systemName, length + 1);
    }

    BYTE accountSid[kSidBufferSize];
    if (!resolveByName) {
        // The domain lands in the system-name buffer and is not used; the
        // account is always looked up on the local computer.
        DWORD sidSize = kSidBufferSize;
        DWORD domainCapacity = kAccountDomainCapacity;
        SID_NAME_USE use;
        if (!::LookupAccountNameA(nullptr, account, accountSid, &sidSize, system, &domainCapacity,
                                  &use)) {
            diagnostic = kAccountDoesNotExist;
            return 0;
        }
    }

    const DaclReading reading = ReadTargetDacl(target);
    switch (reading.status) {
        case DaclStatus::KeyNotOpened:
            return 0;
        case DaclStatus::Failed:
            diagnostic = reading.failure;
            return kSecurityUnavailable;
        case DaclStatus::NullDacl:
            return 1;
        case DaclStatus::Entries:
            break;
    }
    return SearchDaclForAccount(reading.dacl, account, resolveByName ? nullptr : accountSid,
                                resolveByName != 0, system, systemName, diagnostic);
}

LONG IsAccountInDacl(const char* account, const char* target) {
    std::string discarded;
    return FindAccountInDacl(account, target, discarded, 0, nullptr);
}

}  // namespace cvi
