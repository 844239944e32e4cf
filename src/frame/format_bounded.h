// Bounded formatting with the result codes of the safe-string functions.
// Text only: no Windows headers, so it also builds for native analysis.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>

namespace cvi {

// Same values as STRSAFE_E_INVALID_PARAMETER and STRSAFE_E_INSUFFICIENT_BUFFER.
constexpr std::int32_t kFormatInvalidParameter = static_cast<std::int32_t>(0x80070057u);
constexpr std::int32_t kFormatInsufficientBuffer = static_cast<std::int32_t>(0x8007007Au);

// Largest capacity accepted, as the safe-string functions have it.
constexpr std::size_t kFormatMaxCapacity = 0x7FFFFFFF;

// Formats into `destination` of `capacity` characters. 0: the whole text
// fitted; kFormatInsufficientBuffer: it was cut to capacity - 1 characters
// (still terminated); kFormatInvalidParameter: capacity 0 or above
// kFormatMaxCapacity, destination untouched.
std::int32_t FormatBounded(char* destination, std::size_t capacity, const char* format, ...);

}  // namespace cvi
