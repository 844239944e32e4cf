// The folder of the MAPI subsystem the installed mail client uses, as the
// MAPI stub reports it, with the system folder as the fallback.
#pragma once

#include <windows.h>

#include "frame/unique_resource.h"

namespace cvi {

// Reads the REG_MULTI_SZ value `name` of `key` into `value`. Absent, empty
// or differently typed values, and failed reads, leave `value` empty. The
// block ends in two NULs beyond the data, so the multi-string is always
// terminated within it even when the stored data is not.
void ReadMultiStringValue(HKEY key, const char* name, unique_process_heap<char>& value);

// Fills `destination` (capacity in characters) with the MAPI folder, or the
// system folder when MAPI names none, followed by "\MAPISVC.INF" when
// `appendServiceFile` is set. Text that does not fit is cut at capacity - 1.
// Empty when not even the system folder could be read. Writes nothing at
// all when there is no room.
void GetMAPIDirectory(char* destination, DWORD capacity, bool appendServiceFile);

// The same search with the stub libraries and the fallback folder taken from
// `systemDirectory` instead of the system's own; empty when that is empty.
void FindMAPIDirectory(const char* systemDirectory, char* destination, DWORD capacity,
                       bool appendServiceFile);

}  // namespace cvi
