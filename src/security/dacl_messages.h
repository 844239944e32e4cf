// The diagnostic texts of the account search, and the number-to-text
// conversion they are built with. Free of any Windows dependency.
#pragma once

#include <cstdint>
#include <string>

namespace cvi {

// `value` in decimal, with a leading "-" when negative.
std::string LongToString(std::int32_t value);

extern const char* const kUnspecifiedError;
extern const char* const kAccountDoesNotExist;
extern const char* const kKeySizeUnknown;
extern const char* const kFileSizeUnknown;
extern const char* const kDaclNotFound;
extern const char* const kSystemNameTooLong;

// Codes are the system's error codes, written as signed 32-bit numbers.
std::string SecurityReadFailedText(std::uint32_t code);
std::string DaclRetrievalFailedText(std::uint32_t code);
std::string AceReadFailedText(std::uint32_t index, std::uint32_t code);

// The text left when no entry matched. `systemName` is null when none was
// given; it and `names` (the unmatched entry names joined by ",") appear in
// the resolve-by-name form only. `entryCount` counts every entry.
std::string NoMatchingEntryText(bool resolvedByName, const char* systemName,
                                const std::string& names, std::uint32_t entryCount);

}  // namespace cvi
