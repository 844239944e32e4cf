// Target texts: the first marker decides the root, and the path is the text
// right after the first occurrence of that marker (or the whole text).
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fuzz_input.h"
#include "security/security_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const std::string text = in.text();
    std::vector<char> exact(text.begin(), text.end());
    exact.push_back('\0');
    const cvi::SecurityTarget t = cvi::ParseSecurityTarget(exact.data());
    auto after = [&](const char* marker) -> const char* {
        const std::size_t at = text.find(marker);
        return at == std::string::npos ? nullptr : exact.data() + at + std::strlen(marker);
    };
    if (const char* p = after("REG:HKLM::")) {
        if (t.root != cvi::TargetRoot::LocalMachine || t.path != p) std::abort();
    } else if (const char* q = after("REG:HKCR::")) {
        if (t.root != cvi::TargetRoot::ClassesRoot || t.path != q) std::abort();
    } else if (const char* r = after("REG:")) {
        if (t.root != cvi::TargetRoot::LocalMachine || t.path != r) std::abort();
    } else if (t.root != cvi::TargetRoot::File || t.path != exact.data()) {
        std::abort();
    }
    return 0;
}
