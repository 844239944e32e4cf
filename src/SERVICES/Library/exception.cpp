#include "SERVICES/Library/exception.h"

namespace cvi {

Exception::Exception(const std::string& message, const std::string& sourceFile, std::int32_t line)
    : message(message), sourceFile(sourceFile), line(line) {}

Exception::Exception(const Exception& other)
    : message(other.message), sourceFile(other.sourceFile), line(other.line) {}

Exception::~Exception() = default;

std::string Exception::GetMessageText() const { return message; }

std::string Exception::GetSourceFile() const { return sourceFile; }

std::int32_t Exception::GetLine() const { return line; }

std::string Exception::GetFullText() const {
    std::string text;
    if (!message.empty()) {
        text += message;
        text += ' ';
    }
    if (!sourceFile.empty()) {
        text += '(';
        text += sourceFile;
        if (line > 0) {
            text += ':';
            text += std::to_string(line);
        }
        text += ')';
    }
    return text;
}

}  // namespace cvi
