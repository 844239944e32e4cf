// Profile creation and detection: the work behind CreateProfile and
// ProfileExists.
#include "SERVICES/Library/vava_profile_management.h"

#include <mapitags.h>

#include "SERVICES/Library/exception.h"
#include "SERVICES/Library/mapi_owners.h"
#include "SERVICES/Library/mapi_queries.h"
#include "SERVICES/Library/profile_failure.h"

namespace cvi {

namespace {

struct ServiceColumns {
    ULONG cValues;
    ULONG aulPropTag[2];
};
const ServiceColumns kServiceColumns = {2, {PR_SERVICE_NAME_A, PR_SERVICE_UID}};

struct ProfileColumns {
    ULONG cValues;
    ULONG aulPropTag[1];
};
const ProfileColumns kProfileColumns = {1, {PR_DISPLAY_NAME_A}};

SPropValue TextValue(ULONG tag, const char* text) {
    SPropValue value;
    ZeroMemory(&value, sizeof value);
    value.ulPropTag = tag;
    value.Value.lpszA = MapiText(text);
    return value;
}

SPropValue LongValue(ULONG tag, LONG number) {
    SPropValue value;
    ZeroMemory(&value, sizeof value);
    value.ulPropTag = tag;
    value.Value.l = number;
    return value;
}

}  // namespace

VAVAProfileManagement::~VAVAProfileManagement() = default;

void VAVAProfileManagement::InitMAPI() {
    if (FAILED(mapi32::MAPIInitialize(nullptr))) RaiseProfileFailure("Error initialising MAPI", 121);
}

void VAVAProfileManagement::UninitMAPI() { mapi32::MAPIUninitialize(); }

void VAVAProfileManagement::CreateServiceProfile(const char* profileName, const char* value1,
                                                 const char* value2, const char* value3,
                                                 const char* value4, LONG value5, const char* value6,
                                                 const char* value7, const char* value8) {
    // Everything obtained below is released by unwinding before the handler
    // runs, so the record is handed on only after the clean-up; each level
    // hands on its own copy.
    try {
        // Released in reverse order of declaration: row set, table, service
        // administration, profile administration.
        unique_com<IProfAdmin> profAdmin;
        unique_com<IMsgServiceAdmin> serviceAdmin;
        unique_com<IMAPITable> serviceTable;
        unique_row_set rows;

        if (FAILED(mapi32::MAPIAdminProfiles(0, profAdmin.put())))
            RaiseProfileFailure("Error getting IProfAdmin interface", 166);
        if (FAILED(profAdmin->CreateProfile(MapiText(profileName), nullptr, 0, 0)))
            RaiseProfileFailure("Error creating profile", 176);
        if (FAILED(profAdmin->AdminServices(MapiText(profileName), nullptr, 0, 0, serviceAdmin.put())))
            RaiseProfileFailure("Error getting IMsgServiceAdmin interface", 188);
        if (FAILED(serviceAdmin->CreateMsgService(MapiText(kServiceName), nullptr, 0, 0)))
            RaiseProfileFailure("Error creating Corvane message service", 199);
        if (FAILED(serviceAdmin->GetMsgServiceTable(0, serviceTable.put())))
            RaiseProfileFailure("Error getting Message Service Table", 210);

        StringContentRestriction byName(PR_SERVICE_NAME_A, kServiceName);
        if (FAILED(mapi32::HrQueryAllRows(serviceTable.get(), MapiColumns(kServiceColumns), byName.get(),
                                    nullptr, 0, rows.put())))
            RaiseProfileFailure("Error querying table for new message service", 233);
        // The query answering without the service it was asked for is the
        // same failure as the query itself, not a row to read past.
        LPMAPIUID serviceUid = rows && rows.get()->cRows > 0 ? ServiceUidOf(rows.get()->aRow[0]) : nullptr;
        if (!serviceUid) RaiseProfileFailure("Error querying table for new message service", 233);

        const ULONG* tags = ServiceConfigurationTags.aulPropTag;
        SPropValue configuration[8] = {
            TextValue(tags[0], value1), TextValue(tags[1], value2), TextValue(tags[2], value3),
            TextValue(tags[3], value4), LongValue(tags[4], value5), TextValue(tags[5], value6),
            TextValue(tags[6], value7), TextValue(tags[7], value8),
        };
        const HRESULT configured = serviceAdmin->ConfigureMsgService(serviceUid, 0, 0, 8, configuration);
        if (FAILED(configured))
            RaiseProfileFailure(ConfigureFailureMessage(static_cast<std::uint32_t>(configured)), 280);
    } catch (const Exception& record) {
        // Handed on as a copy, each level its own; the copy can throw only
        // when memory is exhausted, where the export's catch-all still holds.
        throw record;  // NOLINT(cert-err60-cpp)
    }
}

bool VAVAProfileManagement::HasProfile(const char* profileName) {
    try {
        // Released in reverse order: row set, profile table, administration.
        unique_com<IProfAdmin> profAdmin;
        unique_com<IMAPITable> profileTable;
        unique_row_set rows;

        if (FAILED(mapi32::MAPIAdminProfiles(0, profAdmin.put())))
            RaiseProfileFailure("Failed to get IProfAdmin interface", 431);
        if (FAILED(profAdmin->GetProfileTable(0, profileTable.put())))
            RaiseProfileFailure("Failed to get profile table", 438);

        StringContentRestriction byName(PR_DISPLAY_NAME_A, profileName);
        if (FAILED(mapi32::HrQueryAllRows(profileTable.get(), MapiColumns(kProfileColumns), byName.get(),
                                    nullptr, 0, rows.put())))
            RaiseProfileFailure("Query on profile table failed", 457);
        return rows && rows.get()->cRows > 0;
    } catch (const Exception& record) {
        // Handed on as a copy, each level its own; the copy can throw only
        // when memory is exhausted, where the export's catch-all still holds.
        throw record;  // NOLINT(cert-err60-cpp)
    }
}

}  // namespace cvi
