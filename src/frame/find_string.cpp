#include "frame/find_string.h"

#include <cstring>

namespace cvi {
namespace {

// The runtime's toupper in the default locale folds a-z only, and the
// library never changes the locale. Folding inline keeps that behaviour even
// when the host process has set another locale, and keeps the scan free of
// a call per byte.
inline unsigned fold(unsigned char c) {
    const unsigned u = c;
    return (u - 'a' < 26u) ? u - ('a' - 'A') : u;
}

}  // namespace

const char* FindStringNoCase(const char* haystack, const char* needle,
                             std::uint32_t haystackLength, std::uint32_t needleLength) {
    if (haystackLength == kMeasureLength) {
        if (!haystack) return nullptr;
        haystackLength = static_cast<std::uint32_t>(std::strlen(haystack));
    }
    if (needleLength == kMeasureLength) {
        if (!needle) return nullptr;
        needleLength = static_cast<std::uint32_t>(std::strlen(needle));
    }
    if (!haystack || !needle || needle[0] == '\0') return nullptr;
    if (haystackLength < needleLength) return nullptr;

    const auto* h = reinterpret_cast<const unsigned char*>(haystack);
    const auto* n = reinterpret_cast<const unsigned char*>(needle);
    const unsigned first = fold(n[0]);
    const std::uint32_t lastStart = haystackLength - needleLength;
    for (std::uint32_t k = 0; k <= lastStart; ++k) {
        if (fold(h[k]) != first) continue;
        // Runs to the needle's terminator; the needle length only bounds
        // the start positions.
        std::uint32_t i = 1;
        while (n[i] != 0 && fold(h[k + i]) == fold(n[i])) ++i;
        if (n[i] == 0) return haystack + k;
    }
    return nullptr;
}

}  // namespace cvi
