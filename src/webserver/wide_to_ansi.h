// Wide directory text read as narrow text in the ANSI code page.
#pragma once

#include <windows.h>

namespace cvi {

// Converts `source` into `destination` of `size` bytes and returns
// `destination`. The result is always a terminated string inside the buffer
// (when it has room for one byte): a text that does not fit keeps the
// longest whole-character beginning that does, and a failed conversion
// leaves the empty string.
char* WideToAnsi(const wchar_t* source, char* destination, int size);

// As WideToAnsi; true only when the whole of `source` was converted, so a
// caller that must not act on a shortened text can refuse it.
bool ConvertWideToAnsi(const wchar_t* source, char* destination, int size);

}  // namespace cvi
