#include "security/security_target.h"

#include <cstring>

namespace cvi {
namespace {

const char* After(const char* text, const char* marker) {
    const char* found = std::strstr(text, marker);
    return found ? found + std::strlen(marker) : nullptr;
}

}  // namespace

SecurityTarget ParseSecurityTarget(const char* target) {
    if (!target) return {TargetRoot::File, ""};
    if (const char* subKey = After(target, "REG:HKLM::")) return {TargetRoot::LocalMachine, subKey};
    if (const char* subKey = After(target, "REG:HKCR::")) return {TargetRoot::ClassesRoot, subKey};
    if (const char* subKey = After(target, "REG:")) return {TargetRoot::LocalMachine, subKey};
    return {TargetRoot::File, target};
}

}  // namespace cvi
