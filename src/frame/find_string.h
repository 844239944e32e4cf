// Case-insensitive substring search over narrow text. Free of any Windows
// dependency so the same file also builds for native unit tests and fuzzing.
#pragma once

#include <cstdint>

namespace cvi {

// Length argument meaning "measure as a NUL-terminated string".
constexpr std::uint32_t kMeasureLength = 0xFFFFFFFFu;

// Returns a pointer into `haystack` at the leftmost match of `needle`, or
// null. Only the ASCII letters fold; an empty or null needle matches nothing.
const char* FindStringNoCase(const char* haystack, const char* needle,
                             std::uint32_t haystackLength = kMeasureLength,
                             std::uint32_t needleLength = kMeasureLength);

}  // namespace cvi
