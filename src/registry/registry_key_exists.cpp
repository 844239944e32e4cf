#include <windows.h>

#include "cvinstaller.h"
#include "frame/unique_resource.h"
#include "registry/registry_path.h"

// Looks in the calling process's own view on purpose: the setup asks about
// keys of the 32-bit product, which live there.
extern "C" int WINAPI RegistryKeyExists(const char* subKey) {
    if (cvi::IsRegistryPathTooLong(subKey)) return 0;
    cvi::unique_hkey key;
    return ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, subKey, 0, KEY_QUERY_VALUE, key.put()) == ERROR_SUCCESS ? 1 : 0;
}
