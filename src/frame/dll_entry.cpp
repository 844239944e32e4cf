// Library entry. Loading turns off the thread attach and detach
// notifications, since the library keeps no per-thread state; unloading gives
// back what the C++ runtime took for the process.
#include <windows.h>

#include "frame/dll_runtime.h"

#if defined(__MINGW32__)
// The MinGW runtime links its TLS support (a TLS directory with callbacks)
// into every image that leaves this pointer undefined, and the loader refuses
// DisableThreadLibraryCalls for an image with a TLS directory. The library
// has no thread-local data, so defining the runtime's callback pointer as
// empty keeps that support, and with it the directory, out of the image.
// NOLINTNEXTLINE(bugprone-reserved-identifier,cert-dcl37-c,cert-dcl51-cpp): the runtime's own name
extern "C" const PIMAGE_TLS_CALLBACK __dyn_tls_init_callback = nullptr;
#endif

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        ::DisableThreadLibraryCalls(instance);
        cvi::PrepareUnwinder(instance);
    }
    // A null reserved pointer means FreeLibrary; at process exit there is
    // nothing worth giving back.
    if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        cvi::ReleaseUnwinder();
        cvi::ReleaseExceptionGlobals();
    }
    return TRUE;
}
