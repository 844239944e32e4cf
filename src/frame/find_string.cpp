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
    const unsigned char upper = static_cast<unsigned char>(fold(n[0]));
    const unsigned char lower = (static_cast<unsigned>(upper) - 'A' < 26u) ? static_cast<unsigned char>(upper + ('a' - 'A')) : upper;

    // Start positions 0 .. haystackLength - needleLength. Candidates are the
    // positions holding the needle's first byte in either case, found with
    // memchr, which the runtime implements far faster than a byte loop; the
    // leftmost of the two next occurrences is always tried first.
    const unsigned char* const end = h + (haystackLength - needleLength) + 1;
    auto next = [end](const unsigned char* from, unsigned char c) {
        return static_cast<const unsigned char*>(std::memchr(from, c, static_cast<std::size_t>(end - from)));
    };
    const unsigned char* nextUpper = next(h, upper);
    const unsigned char* nextLower = (lower == upper) ? nextUpper : next(h, lower);
    for (;;) {
        const unsigned char* k = !nextUpper ? nextLower
                                 : !nextLower ? nextUpper
                                 : (nextUpper < nextLower ? nextUpper : nextLower);
        if (!k) return nullptr;
        // Runs to the needle's terminator; the needle length only bounds
        // the start positions.
        std::uint32_t i = 1;
        while (n[i] != 0 && fold(k[i]) == fold(n[i])) ++i;
        if (n[i] == 0) return haystack + (k - h);
        if (k == nextUpper) nextUpper = next(k + 1, upper);
        if (lower == upper) nextLower = nextUpper;
        else if (k == nextLower) nextLower = next(k + 1, lower);
    }
}

}  // namespace cvi
