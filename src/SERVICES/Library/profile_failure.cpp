#include "SERVICES/Library/profile_failure.h"

#include "SERVICES/Library/exception.h"

namespace cvi {

const char kProfileSourceFile[] = "..\\..\\SERVICES\\Library\\LIBMAPIProfile";

void RaiseProfileFailure(const std::string& message, std::int32_t line) {
    throw Exception(message, kProfileSourceFile, line);
}

std::string ConfigureFailureMessage(std::uint32_t hresult) {
    static const char kDigits[] = "0123456789abcdef";
    char hex[8];
    int count = 0;
    do {
        hex[count++] = kDigits[hresult & 0xF];
        hresult >>= 4;
    } while (hresult != 0);

    std::string text = "Error configuring message service (0x";
    while (count > 0) text += hex[--count];
    text += ')';
    return text;
}

}  // namespace cvi
