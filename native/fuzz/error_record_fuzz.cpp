// The error record's full text and the configure-failure message, against
// their compositions written out plainly; copies stay equal and independent.
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "SERVICES/Library/exception.h"
#include "SERVICES/Library/profile_failure.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const auto line = static_cast<std::int32_t>(in.number());
    const std::uint32_t hr = in.number();
    const std::string message = in.text(), source = in.text();

    std::string ref;
    if (!message.empty()) ref += message + " ";
    if (!source.empty()) ref += "(" + source + (line > 0 ? ":" + std::to_string(line) : "") + ")";

    auto record = std::make_unique<cvi::Exception>(message, source, line);
    const cvi::Exception copy(*record);
    if (record->GetFullText() != ref) std::abort();
    record.reset();  // the copy owns its own texts
    if (copy.GetFullText() != ref || copy.GetMessageText() != message || copy.GetSourceFile() != source ||
        copy.GetLine() != line)
        std::abort();

    char hex[64];
    std::snprintf(hex, sizeof hex, "Error configuring message service (0x%x)", hr);
    if (cvi::ConfigureFailureMessage(hr) != hex) std::abort();
    return 0;
}
