// The clock export's arithmetic, apart from the clock.
#pragma once

#include <cstdint>

namespace cvi {

// The low 32 bits of a 64-bit count of seconds, as a signed number: it wraps
// to negative after 2038-01-19 03:14:07 UTC.
std::int32_t LowSeconds(std::int64_t seconds);

}  // namespace cvi
