// The folder of the running program, without a trailing backslash: where the
// command-line host, the demo, the bench and the tests find CVINSTALLER.dll
// and their helper programs.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace cvi_tools {

inline std::string ProgramFolder() {
    // Long enough for any path the system hands out.
    std::vector<char> path(32768);
    const DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    const std::string full(path.data(), n < path.size() ? n : 0);
    const std::string::size_type slash = full.find_last_of('\\');
    return slash == std::string::npos ? std::string() : full.substr(0, slash);
}

}  // namespace cvi_tools
