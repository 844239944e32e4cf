// The ASP.NET filter check behind IIS_CheckNetFilters.
#pragma once

#include "frame/unique_resource.h"

namespace cvi {

// IIS_CheckNetFilters with the allocator of the expected name's block given
// (released with free). A block that cannot be had ends the check with 3
// before COM or the directory is touched: without the name there is nothing
// to compare, and a missing name must not turn into "any version".
int CheckNetFilters(const char* version, RuntimeAllocator allocate);

}  // namespace cvi
