// The error record of the MAPI profile code. It carries what failed, the
// source file that raised it and a line in that file, and composes them into
// one line of text for whoever catches it. It is a plain value type with no
// base class, so handlers catch it by its own type.
//
// Deliberately free of platform headers: it must build on any host.
#pragma once

#include <cstdint>
#include <string>

namespace cvi {

class Exception {
public:
    Exception(const std::string& message, const std::string& sourceFile, std::int32_t line);
    Exception(const Exception& other);
    Exception& operator=(const Exception&) = delete;

    virtual ~Exception();
    virtual std::string GetMessageText() const;
    virtual std::string GetSourceFile() const;
    virtual std::int32_t GetLine() const;
    // "<message> (<sourceFile>:<line>)", leaving out each part that is empty
    // (or, for the line, not positive).
    virtual std::string GetFullText() const;

private:
    // Members are destroyed in reverse order: sourceFile first, then message.
    std::string message;
    std::string sourceFile;
    std::int32_t line;
};

}  // namespace cvi
