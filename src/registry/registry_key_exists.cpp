#include <windows.h>

#include "cvinstaller.h"
#include "frame/unique_resource.h"

extern "C" int WINAPI RegistryKeyExists(const char* subKey) {
    cvi::unique_hkey key;
    // A null or empty path opens HKEY_LOCAL_MACHINE itself.
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, subKey, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) return 0;
    return 1;
}
