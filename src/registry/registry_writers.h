// The registry writers behind the exports, with the allocator of the copies
// of the caller's texts given, so that an exhausted heap can be shown to be
// reported.
#pragma once

#include <windows.h>

#include "frame/unique_resource.h"

namespace cvi {

// 0xF003F without, 0xF013F with the 64-bit view.
REGSAM WriterAccessMask(int use64BitView);

// Opens root\subKey with the writers' mask, creating it and any missing keys
// above it; `key` holds it on success. The create's error code.
LONG CreateKeyForWriting(HKEY root, const char* subKey, int use64BitView, unique_hkey& key);

LONG CreateEmptyKey(HKEY root, const char* subKey, const char* defaultValue, int use64BitView,
                    RuntimeAllocator allocate);
LONG SetRegistryString(HKEY root, const char* subKey, const char* valueName, const char* data,
                       int use64BitView, RuntimeAllocator allocate);

}  // namespace cvi
