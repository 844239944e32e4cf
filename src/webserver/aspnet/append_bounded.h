// Bounded composition of paths in the fixed buffers of the ASP.NET file
// check. Free of any Windows dependency.
#pragma once

#include <cstddef>

namespace cvi {

// Size of every path buffer of the check: 1023 characters and the terminator.
constexpr std::size_t kPathBufferSize = 1024;

// Appends `text` to the text in `destination`, a buffer of kPathBufferSize
// bytes. Returns `destination`, or null when either is null or the result
// would not fit; the destination is then left as it was, so a caller that
// goes on cannot mistake a shortened path for the one it meant.
char* AppendBounded(char* destination, const char* text);

}  // namespace cvi
