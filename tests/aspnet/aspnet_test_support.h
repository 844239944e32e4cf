// Folders, files and the probe process of the ASP.NET tests.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "support/test_support.h"

namespace aspnet_test {

inline std::string WindowsDirectory() {
    char buffer[MAX_PATH];
    return std::string(buffer, GetWindowsDirectoryA(buffer, MAX_PATH));
}

inline bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Creates `path` and every missing folder above it.
inline void MakeFolders(const std::string& path) {
    for (size_t sep = path.find('\\', 3); sep != std::string::npos; sep = path.find('\\', sep + 1)) {
        CreateDirectoryA(path.substr(0, sep).c_str(), nullptr);
    }
    CreateDirectoryA(path.c_str(), nullptr);
}

inline void MakeFile(const std::string& path) {
    CloseHandle(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
}

// Runs windows_directory_probe with `args` in the current environment
// changed by `overrides` and with `extra` entries added; its exit code, and
// what it printed in `out`.
inline DWORD RunProbe(const std::string& args, const std::vector<std::string>& overrides,
                      std::string& out, const std::vector<std::string>& extra = {}) {
    std::vector<std::string> environment = cvi_test::EnvironmentWith(overrides);
    environment.insert(environment.end(), extra.begin(), extra.end());
    return cvi_test::RunCaptured(cvi_test::BinDir() + "\\windows_directory_probe.exe", args, out,
                                 environment);
}

}  // namespace aspnet_test
