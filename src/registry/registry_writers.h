// The registry writers behind the exports, with the heap that holds the
// copies of the caller's texts made selectable so that an exhausted heap
// can be shown to be reported.
#pragma once

#include <windows.h>

#include <cstddef>

#include "frame/unique_resource.h"

namespace cvi {

struct TextHeap {
    void* (*allocate)(std::size_t bytes);
    void (*release)(void* block);
};

// The C runtime heap, which the exports use.
TextHeap RuntimeTextHeap();

// 0xF003F without, 0xF013F with the 64-bit view.
REGSAM WriterAccessMask(int use64BitView);

// Opens root\subKey with the writers' mask, creating it and any missing keys
// above it; `key` holds it on success. The create's error code.
LONG CreateKeyForWriting(HKEY root, const char* subKey, int use64BitView, unique_hkey& key);

LONG CreateEmptyKey(HKEY root, const char* subKey, const char* defaultValue, int use64BitView,
                    const TextHeap& heap);
LONG SetRegistryString(HKEY root, const char* subKey, const char* valueName, const char* data,
                       int use64BitView, const TextHeap& heap);

}  // namespace cvi
