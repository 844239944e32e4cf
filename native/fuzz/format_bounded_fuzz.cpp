// Bounded formatting never writes past the capacity, always terminates, and
// reports exactly whether the whole text fitted.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "frame/format_bounded.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const std::size_t capacity = in.number() % 600;
    const std::string a = in.text(), b = in.text();
    std::vector<char> dest(capacity ? capacity : 1, '#');
    const std::int32_t r = cvi::FormatBounded(capacity ? dest.data() : nullptr, capacity, "%s\\%s", a.c_str(), b.c_str());
    const std::string whole = a + "\\" + b;
    if (capacity == 0) {
        if (r != cvi::kFormatInvalidParameter) std::abort();
        return 0;
    }
    const std::size_t len = std::strlen(dest.data());  // ASan: must be terminated inside
    if (whole.size() <= capacity - 1) {
        if (r != 0 || whole != dest.data()) std::abort();
    } else {
        if (r != cvi::kFormatInsufficientBuffer || len != capacity - 1) std::abort();
        if (whole.compare(0, len, dest.data()) != 0) std::abort();
    }
    return 0;
}
