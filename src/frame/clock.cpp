#include "frame/clock.h"

#include <time.h>

#include "cvinstaller.h"

namespace cvi {

std::int32_t LowSeconds(std::int64_t seconds) {
    const auto low = static_cast<std::uint32_t>(static_cast<std::uint64_t>(seconds));
    return static_cast<std::int32_t>(low);
}

}  // namespace cvi

extern "C" LONG WINAPI GetTimeAsLong(void) { return cvi::LowSeconds(_time64(nullptr)); }
