// The error record's full text and the configure-failure message keep every
// part they are given, in its place; copies stay equal and independent.
#include <cstdlib>
#include <memory>
#include <string>

#include "SERVICES/Library/exception.h"
#include "SERVICES/Library/profile_failure.h"
#include "fuzz_input.h"

namespace {

bool StartsWith(const std::string& text, const std::string& start) { return text.compare(0, start.size(), start) == 0; }
bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

void CheckFullText(const std::string& full, const std::string& message, const std::string& source,
                   std::int32_t line) {
    const std::string lead = message.empty() ? "" : message + " ";
    if (!StartsWith(full, lead)) std::abort();
    const std::string rest = full.substr(lead.size());
    if (source.empty()) {
        if (!rest.empty()) std::abort();  // no source, no bracket and no line
        return;
    }
    const std::string lineText = line > 0 ? ":" + std::to_string(line) : "";
    if (!StartsWith(rest, "(" + source) || !EndsWith(rest, lineText + ")")) std::abort();
    if (rest.size() != source.size() + lineText.size() + 2) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const auto line = static_cast<std::int32_t>(in.number());
    const std::uint32_t hr = in.number();
    const std::string message = in.text(), source = in.text();

    auto record = std::make_unique<cvi::Exception>(message, source, line);
    const cvi::Exception copy(*record);
    const std::string full = record->GetFullText();
    CheckFullText(full, message, source, line);
    record.reset();  // the copy owns its own texts
    if (copy.GetFullText() != full || copy.GetMessageText() != message || copy.GetSourceFile() != source ||
        copy.GetLine() != line)
        std::abort();

    // Lower-case hex without leading zeros that reads back as the result.
    const std::string text = cvi::ConfigureFailureMessage(hr);
    const std::string lead = "Error configuring message service (0x";
    if (!StartsWith(text, lead) || !EndsWith(text, ")")) std::abort();
    const std::string digits = text.substr(lead.size(), text.size() - lead.size() - 1);
    if (digits.empty() || digits.size() > 8 || (digits.size() > 1 && digits[0] == '0')) std::abort();
    if (digits.find_first_not_of("0123456789abcdef") != std::string::npos) std::abort();
    if (std::strtoul(digits.c_str(), nullptr, 16) != hr) std::abort();
    return 0;
}
