#include "webserver/aspnet/append_bounded.h"

#include <cstring>

namespace cvi {

char* AppendBounded(char* destination, const char* text) {
    if (!destination || !text) return nullptr;
    const void* end = std::memchr(destination, '\0', kPathBufferSize);
    if (!end) return nullptr;  // not a text that fits the buffer to begin with
    const std::size_t used = static_cast<std::size_t>(static_cast<const char*>(end) - destination);
    const std::size_t length = std::strlen(text);
    // Measured here, not left to strcat_s: runtimes differ on an overflow
    // there (some end the process, others empty the destination and carry
    // on with a shortened path).
    if (length >= kPathBufferSize - used) return nullptr;
    std::memcpy(destination + used, text, length + 1);
    return destination;
}

}  // namespace cvi
