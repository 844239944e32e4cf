#include "hardening/dll_under_test.h"

#include "support/test_support.h"

namespace cvi_test {

Dll::Dll() : module_(LoadLibraryA((BinDir() + "\\CVINSTALLER.dll").c_str())) {}

Dll::~Dll() {
    if (module_) FreeLibrary(module_);
}


}  // namespace cvi_test
