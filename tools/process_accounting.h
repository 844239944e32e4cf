// What a process holds, for the tests and the bench that prove the library
// leaves nothing behind.
#pragma once

#include <windows.h>

#include <cstddef>

namespace cvi_tools {

// Open handles, counted by asking every plausible handle value: Wine's
// GetProcessHandleCount always answers 0.
inline unsigned CountOpenHandles() {
    unsigned count = 0;
    for (ULONG_PTR value = 4; value < 0x10000; value += 4) {
        DWORD flags;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++count;
    }
    return count;
}

// Bytes in use in all of the process's heaps: the C runtime keeps its own
// heap beside the process heap.
inline std::size_t HeapInUse() {
    HANDLE heaps[64];
    const DWORD count = GetProcessHeaps(64, heaps);
    std::size_t used = 0;
    for (DWORD i = 0; i < count && i < 64; ++i) {
        PROCESS_HEAP_ENTRY entry{};
        HeapLock(heaps[i]);
        while (HeapWalk(heaps[i], &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) used += entry.cbData;
        HeapUnlock(heaps[i]);
    }
    return used;
}

}  // namespace cvi_tools
