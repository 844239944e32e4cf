// Ending processes by a part of their executable name.
#pragma once

#include <windows.h>

namespace cvi {

// 1 on Windows NT 4.0 or earlier (platform NT, major version <= 4), else 0.
int IsWindowsNT4OrEarlier();

// Tries to enable "SeDebugPrivilege" in the process token; failures are
// ignored and the privilege stays enabled afterwards.
void EnableDebugPrivilege();

// Waits on `handle` for up to 1000 ms while dispatching the calling thread's
// window messages. 1: signalled, or 1000 ms passed while messages were being
// dispatched; 0: null handle, 1000 ms without input or signal, or failure.
int WaitWithMessagePump(HANDLE handle);

}  // namespace cvi
