// The functions Wine's mapi32 forwards to the mail client's provider, and the
// stand-in's control functions for tests.
#include <windows.h>
#include <mapix.h>
#include <mapiutil.h>

#include <climits>
#include <cstdio>
#include <string>

#include "admin_objects.h"
#include "provider_state.h"

namespace {

std::string Hex(ULONG value) {
    char text[12];
    snprintf(text, sizeof text, "%08lX", value);
    return text;
}

// What the caller asked for, so tests can check columns and restriction.
void JournalQuery(LPSPropTagArray columns, LPSRestriction restriction) {
    std::string detail = "HrQueryAllRows.columns=";
    if (columns)
        for (ULONG i = 0; i < columns->cValues; ++i) detail += Hex(columns->aulPropTag[i]) + ",";
    standin::Journal(detail);
    detail = "HrQueryAllRows.restriction=";
    if (restriction && restriction->rt == RES_CONTENT) {
        const SContentRestriction& c = restriction->res.resContent;
        detail += "content:" + Hex(c.ulFuzzyLevel) + ":" + Hex(c.ulPropTag) + ":";
        if (c.lpProp) detail += Hex(c.lpProp->ulPropTag) + ":" + (c.lpProp->Value.lpszA ? c.lpProp->Value.lpszA : "");
    } else if (restriction) {
        detail += "type:" + Hex(restriction->rt);
    }
    standin::Journal(detail);
}

}  // namespace

extern "C" {

// DllMain stays trivial: mapi32 loads this library from inside its own.
BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }

HRESULT WINAPI MAPIInitialize(LPVOID) {
    HRESULT armed = S_OK;
    if (standin::Intercept("MAPIInitialize", &armed)) return armed;
    standin::AdjustInitBalance(+1);
    return S_OK;
}

void WINAPI MAPIUninitialize(void) {
    standin::Journal("MAPIUninitialize");
    standin::AdjustInitBalance(-1);
}

HRESULT WINAPI MAPIAdminProfiles(ULONG, LPPROFADMIN* admin) {
    if (!admin) return MAPI_E_INVALID_PARAMETER;
    *admin = nullptr;
    HRESULT armed = S_OK;
    if (standin::Intercept("MAPIAdminProfiles", &armed)) return armed;
    if (standin::InitBalance() <= 0) return MAPI_E_NOT_INITIALIZED;
    *admin = standin::NewProfAdmin();
    return S_OK;
}

SCODE WINAPI MAPIAllocateBuffer(ULONG size, LPVOID* block) { return standin::AllocateBuffer(size, block); }

SCODE WINAPI MAPIAllocateMore(ULONG size, LPVOID parent, LPVOID* block) {
    return standin::AllocateMore(size, parent, block);
}

ULONG WINAPI MAPIFreeBuffer(LPVOID block) { return standin::FreeBuffer(block); }

HRESULT WINAPI HrQueryAllRows(LPMAPITABLE table, LPSPropTagArray columns, LPSRestriction restriction,
                              LPSSortOrderSet sortOrder, LONG maxRows, LPSRowSet* rows) {
    if (!table || !rows) return MAPI_E_INVALID_PARAMETER;
    *rows = nullptr;
    HRESULT hr = S_OK;
    if (standin::Intercept("HrQueryAllRows", &hr)) {
        if (FAILED(hr)) return hr;
        void* empty = nullptr;
        if (FAILED(standin::AllocateBuffer(CbNewSRowSet(0), &empty))) return MAPI_E_NOT_ENOUGH_MEMORY;
        *rows = static_cast<LPSRowSet>(empty);
        return hr;
    }
    JournalQuery(columns, restriction);
    if (columns && FAILED(hr = table->SetColumns(columns, 0))) return hr;
    if (FAILED(hr = table->Restrict(restriction, 0))) return hr;
    if (sortOrder && FAILED(hr = table->SortTable(sortOrder, 0))) return hr;
    if (FAILED(hr = table->SeekRow(BOOKMARK_BEGINNING, 0, nullptr))) return hr;
    ULONG count = 0;
    if (FAILED(hr = table->GetRowCount(0, &count))) return hr;
    if (maxRows > 0 && count > static_cast<ULONG>(maxRows)) return MAPI_E_TABLE_TOO_BIG;
    return table->QueryRows(LONG_MAX, 0, rows);
}

void WINAPI StandInArm(const char* call, HRESULT result) { standin::Arm(call, result); }

void WINAPI StandInCounters(::StandInCounters* counters) {
    if (counters) *counters = standin::Counters();
}

DWORD WINAPI StandInTakeJournal(char* buffer, DWORD size) { return standin::TakeJournal(buffer, size); }

}  // extern "C"
