// The limit on key paths handed to the registry.
#pragma once

#include <cstring>

namespace cvi {

// The registry measures a path in UTF-16 units with a 16-bit byte count, so
// no key path is longer than 32767 characters. Longer text is not passed on:
// Wine wraps the count and opens a shortened path (for 64 KiB, the root key
// itself), which would answer or write for a key the caller never named.
inline bool IsRegistryPathTooLong(const char* subKey) {
    return subKey != nullptr && std::strlen(subKey) > 32767;
}

}  // namespace cvi
