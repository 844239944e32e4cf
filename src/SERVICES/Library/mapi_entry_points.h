// MAPI32's entry points, bound by ordinal from the system folder's copy at
// the moment of each call. Initialize keeps one reference to the library for
// the MAPI session, which Uninitialize gives back, so the library stays
// loaded exactly as long as MAPI is initialised. Every other entry point is
// meant for use inside a session; outside one, and wherever the library or
// an ordinal cannot be bound, it answers MAPI_E_CALL_FAILED (or does nothing).
#pragma once

#include <windows.h>
#include <mapix.h>
#include <mapiutil.h>

namespace cvi {
namespace mapi32 {

HRESULT MAPIInitialize(LPVOID init);
void MAPIUninitialize();
HRESULT MAPIAdminProfiles(ULONG flags, LPPROFADMIN* profAdmin);
HRESULT HrQueryAllRows(LPMAPITABLE table, LPSPropTagArray columns, LPSRestriction restriction,
                       LPSSortOrderSet sortOrder, LONG maxRows, LPSRowSet* rows);
void FreeProws(LPSRowSet rows);
ULONG MAPIFreeBuffer(LPVOID buffer);

}  // namespace mapi32
}  // namespace cvi
