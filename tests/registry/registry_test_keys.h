// Scratch keys below Software\CVINSTALLER-tests\<pid> and reading them back
// through a chosen registry view.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace registry_test {

// Software\CVINSTALLER-tests\<pid>: unique to this test process.
inline std::string Base() {
    return "Software\\CVINSTALLER-tests\\" + std::to_string(GetCurrentProcessId());
}

struct Stored {
    bool keyExists = false;
    LONG query = ERROR_FILE_NOT_FOUND;  // of the value
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

inline Stored Read(HKEY root, const std::string& path, const char* valueName, REGSAM view) {
    Stored s;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return s;
    s.keyExists = true;
    DWORD size = 0;
    s.query = RegQueryValueExA(key, valueName, nullptr, &s.type, nullptr, &size);
    if (s.query == ERROR_SUCCESS) {
        s.data.resize(size);
        s.query = RegQueryValueExA(key, valueName, nullptr, &s.type, s.data.data(), &size);
        s.data.resize(size);
    }
    RegCloseKey(key);
    return s;
}

inline std::vector<BYTE> Bytes(const std::string& text) {
    return std::vector<BYTE>(text.c_str(), text.c_str() + text.size() + 1);
}

// Removes this process's scratch tree from one view of `root`, and the
// shared parent when no other test process still uses it.
inline void RemoveBase(HKEY root, REGSAM view) {
    HKEY parent = nullptr;
    if (RegOpenKeyExA(root, "Software\\CVINSTALLER-tests", 0, KEY_ALL_ACCESS | view, &parent) ==
        ERROR_SUCCESS) {
        RegDeleteTreeA(parent, std::to_string(GetCurrentProcessId()).c_str());
        RegCloseKey(parent);
    }
    RegDeleteKeyExA(root, "Software\\CVINSTALLER-tests", view, 0);
}

inline void RemoveAllScratchKeys() {
    for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
        RemoveBase(HKEY_LOCAL_MACHINE, view);
        RemoveBase(HKEY_CURRENT_USER, view);
    }
}

}  // namespace registry_test
