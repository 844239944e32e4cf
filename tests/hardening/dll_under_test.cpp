#include "hardening/dll_under_test.h"

#include "support/test_support.h"

namespace cvi_test {

Dll::Dll() : module_(LoadLibraryA((BinDir() + "\\CVINSTALLER.dll").c_str())) {}

Dll::~Dll() {
    if (module_) FreeLibrary(module_);
}

unsigned CountOpenHandles() {
    unsigned count = 0;
    for (ULONG_PTR v = 4; v < 0x2000; v += 4) {
        DWORD flags;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(v), &flags)) ++count;
    }
    return count;
}

}  // namespace cvi_test
