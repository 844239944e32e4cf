// Splits a fuzz input into NUL-free texts, so targets can take several
// strings from one byte sequence.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : p_(data), end_(data + size) {}
    // Bytes up to the next 0xFF (or the end), with NULs dropped.
    std::string text() {
        std::string s;
        while (p_ < end_ && *p_ != 0xFF) {
            if (*p_) s += static_cast<char>(*p_);
            ++p_;
        }
        if (p_ < end_) ++p_;
        return s;
    }
    std::uint32_t number() {
        std::uint32_t v = 0;
        for (int i = 0; i < 4 && p_ < end_; ++i) v = (v << 8) | *p_++;
        return v;
    }

private:
    const std::uint8_t* p_;
    const std::uint8_t* end_;
};
