// Ending processes by a part of their executable name.
#pragma once

#include <windows.h>

namespace cvi {

// 1 on Windows NT 4.0 or earlier (platform NT, major version <= 4), else 0.
int IsWindowsNT4OrEarlier();

// Tries to enable "SeDebugPrivilege" in the process token; failures are
// ignored and the privilege stays enabled afterwards.
void EnableDebugPrivilege();

// Opens the process `processId`, and terminates it and waits a bounded time
// for it to end only when its own image's file name still contains
// `namePart`; a process whose name cannot be read is left alone.
void TerminateIfStillNamed(DWORD processId, const char* namePart);

// Waits on `handle` for up to 1000 ms while dispatching the calling thread's
// window messages. 1: signalled, 1000 ms passed while messages were being
// dispatched, or a quit request arrived (it is posted again for the caller's
// own loop); 0: null handle, 1000 ms without input or signal, or failure.
int WaitWithMessagePump(HANDLE handle);

}  // namespace cvi
