// Differential fuzzing of the case-insensitive search against a plain
// reference, with the haystack in an exactly-sized buffer so that any read
// past the considered bytes is caught.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "frame/find_string.h"
#include "../tests/reference_search.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    // First byte: needle length (bounded by what follows); the rest splits
    // into needle and haystack.
    const std::size_t nl = data[0] % 32;
    if (size - 1 < nl) return 0;
    std::vector<char> needle(data + 1, data + 1 + nl);
    needle.push_back('\0');
    const std::size_t hl = size - 1 - nl;
    std::vector<char> hay(data + 1 + nl, data + size);  // not terminated
    const char* h = hay.empty() ? reinterpret_cast<const char*>(data) : hay.data();

    const char* got = cvi::FindStringNoCase(h, needle.data(), static_cast<std::uint32_t>(hl));
    if (got != ReferenceSearch(h, static_cast<std::uint32_t>(hl), needle.data())) std::abort();

    // Measured lengths on a terminated copy.
    std::vector<char> term(hay);
    term.push_back('\0');
    const char* got2 = cvi::FindStringNoCase(term.data(), needle.data());
    const char* ref2 = ReferenceSearch(term.data(), static_cast<std::uint32_t>(std::strlen(term.data())), needle.data());
    if (got2 != ref2) std::abort();
    return 0;
}
