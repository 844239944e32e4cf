// Library entry. Loading does one thing: it turns off the thread attach and
// detach notifications, since the library keeps no per-thread state.
#include <windows.h>

// The MinGW runtime links its TLS support (a TLS directory with callbacks)
// into every image that leaves this pointer undefined, and the loader refuses
// DisableThreadLibraryCalls for an image with a TLS directory. The library
// has no thread-local data, so defining the runtime's callback pointer as
// empty keeps that support, and with it the directory, out of the image.
extern "C" const PIMAGE_TLS_CALLBACK __dyn_tls_init_callback = nullptr;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) ::DisableThreadLibraryCalls(instance);
    return TRUE;
}
