#include "security/dacl_messages.h"


namespace cvi {

std::string LongToString(std::int32_t value) {
    char digits[12];  // "-2147483648"
    char* p = digits + sizeof digits;
    // Unsigned, so that the most negative value has a magnitude too.
    std::uint32_t magnitude = value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
    do {
        *--p = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) *--p = '-';
    return std::string(p, digits + sizeof digits);
}

const char* const kUnspecifiedError = "Unspecified Error";
const char* const kAccountDoesNotExist = "WARNING: Account does not exist";
const char* const kKeySizeUnknown = "Failed to get key security (RegGetKeySecurity::dwSizeNeeded=0)";
const char* const kFileSizeUnknown = "Failed to get file security (GetFileSecurity::dwSizeNeeded=0)";
const char* const kDaclNotFound = "GetSecurityDescriptorDacl::DACL was not found.";
const char* const kSystemNameTooLong =
    "Failed to use system name (longer than 499 characters)";

namespace {

std::string Signed(std::uint32_t code) { return LongToString(static_cast<std::int32_t>(code)); }

}  // namespace

std::string SecurityReadFailedText(std::uint32_t code) {
    return "Failed to get file security information (" + Signed(code) + ")";
}

std::string DaclRetrievalFailedText(std::uint32_t code) {
    return "Failed to retrieve DACL from security descriptor (" + Signed(code) + ")";
}

std::string AceReadFailedText(std::uint32_t index, std::uint32_t code) {
    return "Failed to get ace " + Signed(index) + " (" + Signed(code) + ")";
}

std::string NoMatchingEntryText(bool resolvedByName, const char* systemName,
                                const std::string& names, std::uint32_t entryCount) {
    std::string text = resolvedByName ? "Resolved " : "Checked ";
    if (resolvedByName) {
        if (systemName) text += std::string("against ") + systemName + " finding ";
        text += "[" + names + "] ";
    }
    text += Signed(entryCount);
    text += " Entries (ACEs) in the Access List (DACL), but could not find account SID that "
            "matches within any of them.";
    return text;
}

}  // namespace cvi
