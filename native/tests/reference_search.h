// The plain reading of the case-insensitive search, for checking the real
// one: every start position, byte by byte, only ASCII letters folded.
#pragma once

#include <cstdint>
#include <cstring>

inline const char* ReferenceSearch(const char* h, std::uint32_t hl, const char* n) {
    const std::size_t nl = std::strlen(n);
    if (nl == 0 || hl < nl) return nullptr;
    auto up = [](unsigned char c) { return (c >= 'a' && c <= 'z') ? c - 32 : c; };
    for (std::size_t k = 0; k + nl <= hl; ++k) {
        std::size_t i = 0;
        while (i < nl && up(h[k + i]) == up(n[i])) ++i;
        if (i == nl) return h + k;
    }
    return nullptr;
}
