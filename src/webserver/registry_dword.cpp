#include <windows.h>

#include "frame/unique_resource.h"
#include "webserver/web_server_queries.h"

namespace cvi {

int GetRegistryDword(const char* subKey, const char* valueName, DWORD* result) {
    if (subKey == nullptr || subKey[0] == '\0' || result == nullptr) return 0;
    unique_hkey key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, subKey, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) return 0;
    DWORD data = 0;
    DWORD size = sizeof data;
    const LONG read =
        ::RegQueryValueExA(key.get(), valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(&data), &size);
    key.reset();
    if (read != ERROR_SUCCESS) return 0;  // ERROR_MORE_DATA for anything longer than 4 bytes
    *result = data;
    return 1;
}

}  // namespace cvi
