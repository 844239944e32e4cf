#include "webserver/net_filters.h"

#include <windows.h>

#include <cstdlib>

#include "cvinstaller.h"
#include "frame/unique_resource.h"
#include "webserver/active_ds.h"
#include "webserver/com_policy.h"
#include "webserver/directory.h"
#include "webserver/filter_names.h"
#include "webserver/wide_to_ansi.h"

namespace cvi {
namespace {

const wchar_t kFiltersPath[] = L"IIS://localhost/W3SVC/Filters";
const wchar_t kFilterLoadOrder[] = L"FilterLoadOrder";
constexpr int kLoadOrderBytes = 2048;

int ReadAndClassify(const char* expectedName) {
    const ActiveDs ads;
    if (!ads) return kFilterListUnreadable;
    HostComScope com;
    // Declared before the object, so the object is released first.
    unique_variant property;
    unique_com<IADs> filters;
    if (ads.ADsGetObject(kFiltersPath, kIID_IADs, filters.put_as<void>()) != S_OK) return kFilterListUnreadable;

    property.clear();
    char loadOrder[kLoadOrderBytes] = {};
    unique_bstr name(::SysAllocString(kFilterLoadOrder));
    if (!name) return kFilterListUnreadable;
    if (filters->Get(name.get(), property.get()) != S_OK || V_VT(property.get()) != VT_BSTR) {
        return kFilterListUnreadable;
    }
    // A list longer than the buffer is examined as far as it reaches.
    WideToAnsi(V_BSTR(property.get()), loadOrder, kLoadOrderBytes);
    return ClassifyFilterLoadOrder(loadOrder, expectedName);
}

}  // namespace

int CheckNetFilters(const char* version, RuntimeAllocator allocate) {
    unique_runtime_heap<char> expected;
    if (version != nullptr) {
        const std::size_t size = ExpectedFilterNameSize(version);
        expected.reset(size != 0 ? static_cast<char*>(allocate(size)) : nullptr);
        if (!expected) return kFilterListUnreadable;
        FormatExpectedFilterName(version, expected.get(), size);
    }
    return ReadAndClassify(expected.get());
}

}  // namespace cvi

extern "C" int WINAPI IIS_CheckNetFilters(const char* version) {
    return cvi::CheckNetFilters(version, &std::malloc);
}
