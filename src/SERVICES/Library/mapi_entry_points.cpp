#include "SERVICES/Library/mapi_entry_points.h"

#include "frame/system_library.h"
#include "frame/unique_resource.h"

namespace cvi {
namespace mapi32 {
namespace {

constexpr char kLibrary[] = "MAPI32.dll";

// The library's own ordinals for these entry points.
constexpr WORD kFreeBuffer = 17;
constexpr WORD kAdminProfiles = 19;
constexpr WORD kInitialize = 21;
constexpr WORD kUninitialize = 23;
constexpr WORD kQueryAllRows = 75;
constexpr WORD kFreeRows = 140;

using InitializeFn = HRESULT(WINAPI*)(LPVOID);
using UninitializeFn = void(WINAPI*)();
using AdminProfilesFn = HRESULT(WINAPI*)(ULONG, LPPROFADMIN*);
using QueryAllRowsFn = HRESULT(WINAPI*)(LPMAPITABLE, LPSPropTagArray, LPSRestriction, LPSSortOrderSet, LONG,
                                        LPSRowSet*);
using FreeRowsFn = void(WINAPI*)(LPSRowSet);
using FreeBufferFn = ULONG(WINAPI*)(LPVOID);

// One call's binding: a reference to the library for the length of the call
// and the entry point in it.
template <typename Fn>
struct Bound {
    explicit Bound(WORD ordinal)
        : library(LoadSystemLibrary(kLibrary)), entry(EntryPointByOrdinal<Fn>(library.get(), ordinal)) {}
    unique_module library;
    Fn entry;
};

}  // namespace

HRESULT MAPIInitialize(LPVOID init) {
    Bound<InitializeFn> bound(kInitialize);
    if (!bound.entry) return MAPI_E_CALL_FAILED;
    const HRESULT result = bound.entry(init);
    // The session's reference, given back by MAPIUninitialize.
    if (SUCCEEDED(result)) bound.library.release();
    return result;
}

void MAPIUninitialize() {
    Bound<UninitializeFn> bound(kUninitialize);
    if (!bound.entry) return;
    bound.entry();
    // The reference MAPIInitialize kept; this call's own goes with `bound`.
    ::FreeLibrary(bound.library.get());
}

HRESULT MAPIAdminProfiles(ULONG flags, LPPROFADMIN* profAdmin) {
    Bound<AdminProfilesFn> bound(kAdminProfiles);
    return bound.entry ? bound.entry(flags, profAdmin) : MAPI_E_CALL_FAILED;
}

HRESULT HrQueryAllRows(LPMAPITABLE table, LPSPropTagArray columns, LPSRestriction restriction,
                       LPSSortOrderSet sortOrder, LONG maxRows, LPSRowSet* rows) {
    Bound<QueryAllRowsFn> bound(kQueryAllRows);
    return bound.entry ? bound.entry(table, columns, restriction, sortOrder, maxRows, rows) : MAPI_E_CALL_FAILED;
}

void FreeProws(LPSRowSet rows) {
    Bound<FreeRowsFn> bound(kFreeRows);
    if (bound.entry) bound.entry(rows);
}

ULONG MAPIFreeBuffer(LPVOID buffer) {
    Bound<FreeBufferFn> bound(kFreeBuffer);
    return bound.entry ? bound.entry(buffer) : 0;
}

}  // namespace mapi32
}  // namespace cvi
