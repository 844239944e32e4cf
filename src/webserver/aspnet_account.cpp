#include <windows.h>

#include <cstring>

#include "cvinstaller.h"
#include "frame/format_bounded.h"
#include "webserver/web_server_queries.h"

namespace cvi {
namespace {

constexpr int kAssumedIISMajorVersion = 5;

// Copies `text` whole or not at all: a shortened account or computer name
// would name a different account.
int CopyWhole(const char* text, char* destination, DWORD size) {
    const std::size_t length = std::strlen(text);
    if (destination == nullptr || size == 0) return 0;
    if (length >= size) {
        destination[0] = '\0';
        return 0;
    }
    std::memcpy(destination, text, length + 1);
    return 1;
}

}  // namespace

int GetLocalComputerName(char* destination, DWORD size) {
    char name[200] = {};
    DWORD capacity = sizeof name;
    const bool named = ::GetComputerNameA(name, &capacity) != FALSE;
    if (!named) name[0] = '\0';
    const int copied = CopyWhole(name, destination, size);
    return named && copied ? 1 : 0;
}

int IsDomainController() {
    return RegistryKeyExists("SYSTEM\\CurrentControlSet\\Services\\NTDS\\Parameters");
}

int GetIISMajorVersion() {
    DWORD version = 0;
    if (!GetRegistryDword("SOFTWARE\\Microsoft\\InetStp", "MajorVersion", &version)) {
        return kAssumedIISMajorVersion;
    }
    return static_cast<int>(version);
}

int GetAspNetAccountName(char* destination, DWORD size) {
    // IIS 5 on a domain controller runs ASP.NET under the IWAM_ account,
    // since a domain controller has no local ASPNET account.
    if (GetIISMajorVersion() == kAssumedIISMajorVersion && IsDomainController()) {
        char computer[260] = {};
        GetLocalComputerName(computer, 255);
        char account[sizeof computer + 8];
        FormatBounded(account, sizeof account, "IWAM_%s", computer);
        return CopyWhole(account, destination, size) ? 2 : 0;
    }
    return CopyWhole("ASPNET", destination, size) ? 1 : 0;
}

}  // namespace cvi
