// windows_directory_probe dir <size>: prints "<result>|<buffer>".
// windows_directory_probe scan: prints the result of CheckForASPNETISAPI.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "cvinstaller.h"
#include "webserver/aspnet/windows_directory.h"

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "dir") == 0) {
        char buffer[1024];
        std::memset(buffer, '#', sizeof(buffer));
        const UINT size = static_cast<UINT>(std::atoi(argv[2]));
        const int result = cvi::GetEffectiveWindowsDirectory(buffer, size);
        if (!std::memchr(buffer, '\0', size)) return 3;
        if (buffer[size] != '#') return 4;
        std::printf("%d|%s", result, buffer);
        return 0;
    }
    if (argc >= 2 && std::strcmp(argv[1], "scan") == 0) {
        std::printf("%d", CheckForASPNETISAPI());
        return 0;
    }
    return 2;
}
