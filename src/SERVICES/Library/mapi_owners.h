// Owners for what MAPI hands out besides interfaces: row sets, which go back
// through FreeProws (rows first, then the set), and single MAPI buffers.
#pragma once

#include <windows.h>
#include <mapix.h>
#include <mapiutil.h>

#include "SERVICES/Library/mapi_entry_points.h"
#include "frame/unique_resource.h"

namespace cvi {

struct row_set_traits {
    using type = LPSRowSet;
    static type invalid() noexcept { return nullptr; }
    static void close(type rows) noexcept { mapi32::FreeProws(rows); }
};

struct prop_values_traits {
    using type = LPSPropValue;
    static type invalid() noexcept { return nullptr; }
    static void close(type values) noexcept { mapi32::MAPIFreeBuffer(values); }
};

using unique_row_set = unique_any<row_set_traits>;
using unique_prop_values = unique_any<prop_values_traits>;

}  // namespace cvi
