// The Windows directory as the library uses it.
#pragma once

#include <windows.h>

namespace cvi {

// The Windows directory is asked for with at most this many characters.
constexpr UINT kWindowsDirectoryCapacity = 1023;

// Fills `buffer` (of `size` bytes) with the Windows directory. When the
// directory Windows reports for the process contains the user's home path
// ("HOMEPATH", compared without regard to case), it is a per-user copy and
// the system's own directory named by "WinDir" is used instead, if that is
// set, not empty and fits the buffer.
// 1: the buffer holds a directory; 0: none fits (the buffer, if any, is
// then empty).
int GetEffectiveWindowsDirectory(char* buffer, UINT size);

}  // namespace cvi
