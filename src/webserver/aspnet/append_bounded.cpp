#include "webserver/aspnet/append_bounded.h"

#include <cstring>

namespace cvi {

char* AppendBounded(char* destination, const char* text) {
    if (!destination || !text) return nullptr;
    const void* end = std::memchr(destination, '\0', kPathBufferSize);
    if (!end) return nullptr;  // not a text that fits the buffer to begin with
    const std::size_t used = static_cast<std::size_t>(static_cast<const char*>(end) - destination);
    // Checked here rather than left to strcat_s, whose overflow handling
    // differs between runtimes (some end the process, others empty the
    // destination).
    if (std::strlen(text) >= kPathBufferSize - used) return nullptr;
    return strcat_s(destination, kPathBufferSize, text) == 0 ? destination : nullptr;
}

}  // namespace cvi
