// Diagnostic texts of the access-control inspection: decimal numbers as the
// runtime prints them, and the pieces of the final text in their order.
#include <cstdio>
#include <cstdlib>

#include "fuzz_input.h"
#include "security/dacl_messages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const auto value = static_cast<std::int32_t>(in.number());
    char ref[16];
    std::snprintf(ref, sizeof ref, "%d", value);
    if (cvi::LongToString(value) != ref) std::abort();

    const std::uint32_t index = in.number(), code = in.number();
    const std::string system = in.text(), names = in.text();
    const std::string ace = cvi::AceReadFailedText(index, code);
    if (ace != "Failed to get ace " + cvi::LongToString(static_cast<std::int32_t>(index)) + " (" +
                   cvi::LongToString(static_cast<std::int32_t>(code)) + ")")
        std::abort();

    const std::uint32_t count = in.number() & 0xFFFF;
    const std::string tail = cvi::LongToString(static_cast<std::int32_t>(count)) +
                             " Entries (ACEs) in the Access List (DACL), but could not find account SID that "
                             "matches within any of them.";
    if (cvi::NoMatchingEntryText(false, system.c_str(), names, count) != "Checked " + tail) std::abort();
    if (cvi::NoMatchingEntryText(true, system.c_str(), names, count) !=
        "Resolved against " + system + " finding [" + names + "] " + tail)
        std::abort();
    if (cvi::NoMatchingEntryText(true, nullptr, names, count) != "Resolved [" + names + "] " + tail) std::abort();
    return 0;
}
