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

// Compares the needle with the text at `k`, up to the needle's terminator:
// the needle length only bounds the start positions.
inline bool MatchesAt(const unsigned char* k, const unsigned char* n) {
    std::uint32_t i = 1;
    while (n[i] != 0 && fold(k[i]) == fold(n[i])) ++i;
    return n[i] == 0;
}

// Leftmost start position in [begin, end) where the needle matches, or
// null. Candidates are the positions holding the needle's first byte in
// either case, found with memchr (far faster than a byte loop); the
// leftmost of the two next occurrences is always tried first.
const unsigned char* ScanStarts(const unsigned char* begin, const unsigned char* end,
                                const unsigned char* n) {
    const auto upper = static_cast<unsigned char>(fold(n[0]));
    const auto lower = static_cast<unsigned char>(
        (static_cast<unsigned>(upper) - 'A' < 26u) ? upper + ('a' - 'A') : upper);
    auto next = [end](const unsigned char* from, unsigned char c) {
        return static_cast<const unsigned char*>(std::memchr(from, c, static_cast<std::size_t>(end - from)));
    };
    const unsigned char* nextUpper = next(begin, upper);
    const unsigned char* nextLower = (lower == upper) ? nextUpper : next(begin, lower);
    for (;;) {
        const unsigned char* k = !nextUpper ? nextLower
                                 : !nextLower ? nextUpper
                                 : (nextUpper < nextLower ? nextUpper : nextLower);
        if (!k || MatchesAt(k, n)) return k;
        if (k == nextUpper) nextUpper = next(k + 1, upper);
        if (lower == upper) nextLower = nextUpper;
        else if (k == nextLower) nextLower = next(k + 1, lower);
    }
}

}  // namespace

const char* FindStringNoCase(const char* haystack, const char* needle,
                             std::uint32_t haystackLength, std::uint32_t needleLength) {
    if (haystackLength == kMeasureLength && !haystack) return nullptr;
    if (needleLength == kMeasureLength) {
        if (!needle) return nullptr;
        needleLength = static_cast<std::uint32_t>(std::strlen(needle));
    }
    if (!haystack || !needle || needle[0] == '\0') return nullptr;

    const auto* h = reinterpret_cast<const unsigned char*>(haystack);
    const auto* n = reinterpret_cast<const unsigned char*>(needle);
    if (haystackLength != kMeasureLength) {
        if (haystackLength < needleLength) return nullptr;
        const auto* k = ScanStarts(h, h + (haystackLength - needleLength) + 1, n);
        return k ? haystack + (k - h) : nullptr;
    }

    // A terminated haystack is measured and scanned window by window, so
    // the bytes are still in cache when the scan reaches them. Start
    // positions past the last full fit of the needle fail at the
    // terminator, which equals no needle byte: the answer is that of
    // measuring the whole text first.
    constexpr std::size_t kWindow = std::size_t{16} * 1024;
    for (const unsigned char* window = h;;) {
        const std::size_t length = strnlen(reinterpret_cast<const char*>(window), kWindow);
        if (const auto* k = ScanStarts(window, window + length, n)) return haystack + (k - h);
        if (length < kWindow) return nullptr;
        window += length;
    }
}

}  // namespace cvi
