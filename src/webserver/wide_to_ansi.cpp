#include "webserver/wide_to_ansi.h"

#include <cwchar>

namespace cvi {
namespace {

// Bytes the first `count` characters of `source` need, or 0 when they cannot
// be converted.
int AnsiBytes(const wchar_t* source, int count) {
    return ::WideCharToMultiByte(CP_ACP, 0, source, count, nullptr, 0, nullptr, nullptr);
}

// Longest beginning of `source` whose ANSI form fits in `room` bytes. The
// byte count grows with the character count, so a binary search finds it
// without converting the text once per character.
int FittingCharacters(const wchar_t* source, int length, int room) {
    int low = 0;
    int high = length < room ? length : room;  // no character takes less than a byte
    while (low < high) {
        const int mid = low + (high - low + 1) / 2;
        const int bytes = AnsiBytes(source, mid);
        if (bytes > 0 && bytes <= room) {
            low = mid;
        } else {
            high = mid - 1;
        }
    }
    // Never keep half of a surrogate pair.
    if (low > 0 && low < length && source[low - 1] >= 0xD800 && source[low - 1] <= 0xDBFF) --low;
    return low;
}

}  // namespace

bool ConvertWideToAnsi(const wchar_t* source, char* destination, int size) {
    if (destination == nullptr || size <= 0) return false;
    destination[0] = '\0';
    if (source == nullptr) return false;

    // The terminator is converted too, so a whole conversion ends the text.
    if (::WideCharToMultiByte(CP_ACP, 0, source, -1, destination, size, nullptr, nullptr) > 0) {
        destination[size - 1] = '\0';
        return true;
    }

    // It did not fit (or failed): what the call left in the buffer is
    // undefined, so convert again only as much as fits.
    destination[0] = '\0';
    const std::size_t measured = std::wcslen(source);
    const int length = measured > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(measured);
    const int count = FittingCharacters(source, length, size - 1);
    if (count == 0) return false;
    const int written =
        ::WideCharToMultiByte(CP_ACP, 0, source, count, destination, size - 1, nullptr, nullptr);
    destination[written > 0 ? written : 0] = '\0';
    return false;
}

char* WideToAnsi(const wchar_t* source, char* destination, int size) {
    ConvertWideToAnsi(source, destination, size);
    return destination;
}

}  // namespace cvi
