#include "frame/format_bounded.h"

#include <cstdio>

namespace cvi {
namespace {

// Writes at most `count` characters and answers with the runtime's own
// bounded formatter's contract: the length written, or -1 when the text
// was longer than `count` or could not be formatted. The terminator is the
// caller's business, since Windows' formatter leaves an exactly fitting
// text unterminated.
int FormatAtMost(char* destination, std::size_t count, const char* format, std::va_list arguments) {
#ifdef _WIN32
#if defined(_MSC_VER)
    // C4996 ("unsafe"): the unterminated-when-exact contract of _vsnprintf
    // is the one this wrapper is built on; the terminator is placed by the
    // caller.
#pragma warning(suppress : 4996)
#endif
    return _vsnprintf(destination, count, format, arguments);
#else
    // C99's formatter needs room for its own terminator, which the caller
    // has reserved behind `count`.
    // The list comes started from FormatBounded; the analyzer cannot see
    // across that boundary.
    const int length = std::vsnprintf(destination, count + 1, format, arguments);  // NOLINT(clang-analyzer-valist.Uninitialized)
    return (length < 0 || static_cast<std::size_t>(length) > count) ? -1 : length;
#endif
}

std::int32_t FormatBoundedV(char* destination, std::size_t capacity, const char* format,
                            std::va_list arguments) {
    if (capacity == 0 || capacity > kFormatMaxCapacity) return kFormatInvalidParameter;

    const std::size_t limit = capacity - 1;
    const int written = FormatAtMost(destination, limit, format, arguments);
    if (written < 0) {
        destination[limit] = '\0';
        return kFormatInsufficientBuffer;
    }
    if (static_cast<std::size_t>(written) == limit) destination[limit] = '\0';
    return 0;
}

}  // namespace

// A printf-style list on purpose: the paths composed here follow the
// runtime's own format strings, and callers pass plain texts.
std::int32_t FormatBounded(char* destination, std::size_t capacity, const char* format, ...) {  // NOLINT(cert-dcl50-cpp)
    std::va_list arguments;
    va_start(arguments, format);
    const std::int32_t result = FormatBoundedV(destination, capacity, format, arguments);
    va_end(arguments);
    return result;
}

}  // namespace cvi
