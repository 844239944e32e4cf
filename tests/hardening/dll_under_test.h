// The shipped CVINSTALLER.dll, loaded by name like a setup loads it, with
// typed access to its exports.
#pragma once

#include <windows.h>

#include "cvinstaller.h"

namespace cvi_test {

class Dll {
public:
    Dll();
    ~Dll();
    Dll(const Dll&) = delete;
    Dll& operator=(const Dll&) = delete;

    HMODULE module() const { return module_; }
    FARPROC proc(const char* name) const { return GetProcAddress(module_, name); }

private:
    HMODULE module_;
};

}  // namespace cvi_test

// Typed export; a DLL without it fails the test, naming the export.
#define CVI_REQUIRE_EXPORT(dll, fn)                                                        \
    auto fn = reinterpret_cast<decltype(&::fn)>(reinterpret_cast<void*>((dll).proc(#fn))); \
    if (!fn) FAIL() << #fn " is not exported under its plain name"
