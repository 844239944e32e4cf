// Removing a profile and reading back the configuration of its VAVA
// service. MAPI is initialised by the caller.
#include <cstring>

#include <mapitags.h>

#include "SERVICES/Library/exception.h"
#include "SERVICES/Library/mapi_owners.h"
#include "SERVICES/Library/mapi_queries.h"
#include "SERVICES/Library/profile_failure.h"
#include "SERVICES/Library/vava_profile_management.h"

// Opening a profile section for reading only, even one the service marks
// private. Newer SDK headers define it; MinGW's do not.
#ifndef MAPI_FORCE_ACCESS
#define MAPI_FORCE_ACCESS ((ULONG)0x00080000)
#endif

namespace cvi {

namespace {

struct ServiceLookupColumns {
    ULONG cValues;
    ULONG aulPropTag[3];
};
const ServiceLookupColumns kServiceLookupColumns = {
    3, {PR_SERVICE_NAME_A, PR_SERVICE_UID, PR_SERVICE_EXTRA_UIDS}};

// Byte-wise, case included. A missing text equals only another missing one,
// so a null argument is a mismatch rather than a crash.
bool SameText(const char* stored, const char* expected) {
    if (!stored || !expected) return stored == expected;
    return std::strcmp(stored, expected) == 0;
}

}  // namespace

void VAVAProfileManagement::RemoveProfile(const char* profileName) {
    try {
        unique_com<IProfAdmin> profAdmin;
        if (FAILED(mapi32::MAPIAdminProfiles(0, profAdmin.put())))
            RaiseProfileFailure("Error getting IProfAdmin interface", 314);
        if (FAILED(profAdmin->DeleteProfile(MapiText(profileName), 0)))
            RaiseProfileFailure("Error deleting profile", 321);
    } catch (const Exception& record) {
        // Handed on as a copy, each level its own; the copy can throw only
        // when memory is exhausted, where the export's catch-all still holds.
        throw record;  // NOLINT(cert-err60-cpp)
    }
}

IMsgServiceAdmin* VAVAProfileManagement::OpenServiceAdmin(const char* profileName) {
    try {
        unique_com<IProfAdmin> profAdmin;
        unique_com<IMsgServiceAdmin> serviceAdmin;
        if (FAILED(mapi32::MAPIAdminProfiles(0, profAdmin.put())))
            RaiseProfileFailure("Failed to get IProfAdmin interface", 500);
        if (FAILED(profAdmin->AdminServices(MapiText(profileName), nullptr, 0, 0, serviceAdmin.put())))
            RaiseProfileFailure("Error getting IMsgServiceAdmin interface", 510);
        return serviceAdmin.release();
    } catch (const Exception& record) {
        // Handed on as a copy, each level its own; the copy can throw only
        // when memory is exhausted, where the export's catch-all still holds.
        throw record;  // NOLINT(cert-err60-cpp)
    }
}

IProfSect* VAVAProfileManagement::OpenServiceProfileSection(const char* profileName) {
    try {
        // Released in reverse order: row set, table, service administration.
        unique_com<IMsgServiceAdmin> serviceAdmin(OpenServiceAdmin(profileName));
        unique_com<IMAPITable> serviceTable;
        unique_row_set rows;
        unique_com<IProfSect> section;

        if (FAILED(serviceAdmin->GetMsgServiceTable(0, serviceTable.put())))
            RaiseProfileFailure("Failed to get the message services table", 555);
        StringContentRestriction byName(PR_SERVICE_NAME_A, kServiceName);
        if (FAILED(mapi32::HrQueryAllRows(serviceTable.get(), MapiColumns(kServiceLookupColumns), byName.get(),
                                    nullptr, 0, rows.put())))
            RaiseProfileFailure("Failed to query message services table for Corvane Message Service", 568);
        const ULONG found = rows ? rows.get()->cRows : 0;
        if (found == 0)
            RaiseProfileFailure("Corvane Message Service not found in message services table", 573);
        if (found > 1)
            RaiseProfileFailure("Too many Corvane Message Services found in message services table", 578);

        // A row without a whole identifier names no section that can be opened.
        LPMAPIUID serviceUid = ServiceUidOf(rows.get()->aRow[0]);
        if (!serviceUid ||
            FAILED(serviceAdmin->OpenProfileSection(serviceUid, nullptr, MAPI_FORCE_ACCESS, section.put())))
            RaiseProfileFailure("Failed to get service profile section", 586);
        return section.release();
    } catch (const Exception& record) {
        // Handed on as a copy, each level its own; the copy can throw only
        // when memory is exhausted, where the export's catch-all still holds.
        throw record;  // NOLINT(cert-err60-cpp)
    }
}

bool VAVAProfileManagement::ServiceConfigurationMatches(const char* profileName, const char* value1,
                                                        const char* value2, const char* value3,
                                                        const char* value4, LONG value5,
                                                        const char* value6, const char* value7,
                                                        const char* value8) {
    try {
        // Released in reverse order: the section first, then the values.
        unique_prop_values stored;
        unique_com<IProfSect> section(OpenServiceProfileSection(profileName));

        ULONG count = 0;
        if (FAILED(section->GetProps(MapiColumns(ServiceConfigurationTags), 0, &count, stored.put())))
            RaiseProfileFailure("Failed to get service configuration properties from the profile section",
                                360);

        // A property the section lacks comes back under its error type, so
        // the tag test rejects it before its value is looked at.
        const char* const expected[8] = {value1, value2, value3, value4, nullptr, value6, value7, value8};
        if (count != 8 || !stored) return false;
        for (ULONG i = 0; i < 8; ++i) {
            const SPropValue& value = stored.get()[i];
            if (value.ulPropTag != ServiceConfigurationTags.aulPropTag[i]) return false;
            const bool equal = PROP_TYPE(value.ulPropTag) == PT_LONG ? value.Value.l == value5
                                                                     : SameText(value.Value.lpszA, expected[i]);
            if (!equal) return false;
        }
        return true;
    } catch (const Exception& record) {
        // Handed on as a copy, each level its own; the copy can throw only
        // when memory is exhausted, where the export's catch-all still holds.
        throw record;  // NOLINT(cert-err60-cpp)
    }
}

}  // namespace cvi
