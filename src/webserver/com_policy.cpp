#include "webserver/com_policy.h"

#include <objbase.h>

#include "webserver/host_names.h"

namespace cvi {

int IsMultithreadedHost() {
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    // A path that filled the buffer may lack its terminator on older systems.
    if (length >= MAX_PATH) path[MAX_PATH - 1] = '\0';
    return PathNamesMultithreadedHost(path) ? 1 : 0;
}

HRESULT InitializeComForHost() {
    if (IsMultithreadedHost()) return ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    return ::CoInitialize(nullptr);
}

}  // namespace cvi
