// How the profile code raises its error records: every record names the same
// source file, and the configuration failure composes its message from the
// HRESULT MAPI returned. Free of platform headers.
#pragma once

#include <cstdint>
#include <string>

namespace cvi {

// The source-file text every profile error record carries.
extern const char kProfileSourceFile[];

// Throws an Exception record with `message`, kProfileSourceFile and `line`.
[[noreturn]] void RaiseProfileFailure(const std::string& message, std::int32_t line);

// "Error configuring message service (0x<hresult in lowercase hex>)".
std::string ConfigureFailureMessage(std::uint32_t hresult);

}  // namespace cvi
