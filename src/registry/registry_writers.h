// The registry writers behind the exports, with the allocator of the copies
// of the caller's texts given, so that an exhausted heap can be shown to be
// reported.
#pragma once

#include <windows.h>

#include "frame/unique_resource.h"

namespace cvi {

LONG CreateEmptyKey(HKEY root, const char* subKey, const char* defaultValue, int use64BitView,
                    RuntimeAllocator allocate);
LONG SetRegistryString(HKEY root, const char* subKey, const char* valueName, const char* data,
                       int use64BitView, RuntimeAllocator allocate);

}  // namespace cvi
