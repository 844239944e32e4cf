#include <time.h>

#include <cstdint>

#include "cvinstaller.h"

// Only the low 32 bits of the 64-bit count reach the caller, so the result
// wraps to negative after 2038-01-19 03:14:07 UTC.
extern "C" LONG WINAPI GetTimeAsLong(void) {
    const auto low = static_cast<std::uint32_t>(static_cast<std::uint64_t>(_time64(nullptr)));
    return static_cast<LONG>(static_cast<std::int32_t>(low));
}
