// Linked into the DLL only: the image's unwind tables and the unwinder linked
// into the DLL.
//
// MinGW's i686 start-up code registers an image's DWARF unwind tables with
// the shared libgcc_s_dw2-1.dll when that library is already loaded in the
// process, and with the image's own static unwinder otherwise. The DLL
// throws and catches with its own static unwinder, so inside a host that had
// the shared runtime loaded first (any program built with MinGW's shared
// runtime) the first exception found no tables and the runtime ended the
// host. In such a host the image's tables are registered with the static
// unwinder as well, and taken back when the DLL is unloaded.
//
// The static unwinder guards its table list with a lock whose semaphore it
// creates on first use and never closes: one handle lost per load. The
// image's import slot for CreateSemaphoreW, which nothing but the runtime's
// locks uses, is pointed at a wrapper that notes the handles, and they are
// closed when the image is unloaded. The last use of the lock on unload (the
// start-up code taking the tables back, after DllMain) is uncontended, as no
// thread can be running the DLL's code then, so it never touches the
// semaphore itself.
#include "frame/dll_runtime.h"

#include <cstring>

#if defined(__GLIBCXX__) && defined(__i386__) && !defined(__USING_SJLJ_EXCEPTIONS__) && !defined(__SEH__)

// This block defines or declares the runtime's own reserved names.
// NOLINTBEGIN(bugprone-reserved-identifier,cert-dcl37-c,cert-dcl51-cpp)

namespace {

// The unwinder's own entry points (libgcc's unwind-dw2-fde).
extern "C" void __register_frame(void* begin);
extern "C" void __deregister_frame(void* begin);

// The tables this DLL registered, or null. Written on attach and read on
// detach, both under the loader lock.
void* g_registeredTables = nullptr;

// The semaphores the runtime's locks created in this image.
constexpr LONG kTrackedSemaphores = 8;
HANDLE g_semaphores[kTrackedSemaphores];
volatile LONG g_semaphoreCount = 0;

HANDLE WINAPI TrackedCreateSemaphoreW(LPSECURITY_ATTRIBUTES attributes, LONG initial, LONG maximum,
                                      LPCWSTR name) {
    const HANDLE semaphore = ::CreateSemaphoreExW(attributes, initial, maximum, name, 0, SEMAPHORE_ALL_ACCESS);
    if (semaphore) {
        const LONG slot = ::InterlockedIncrement(&g_semaphoreCount) - 1;
        if (slot < kTrackedSemaphores) g_semaphores[slot] = semaphore;
    }
    return semaphore;
}

}  // namespace

// The import slot the runtime's locks call through; see the top of the file.
extern "C" void* const cvi_CreateSemaphoreW_slot __asm__("__imp__CreateSemaphoreW@16") =
    reinterpret_cast<void*>(&TrackedCreateSemaphoreW);

namespace {

// The image's unwind table section. Image section names hold 8 characters,
// so ".eh_frame" appears as ".eh_fram".
void* FindUnwindTables(HMODULE image) {
    auto* base = reinterpret_cast<unsigned char*>(image);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
        if (std::memcmp(section->Name, ".eh_fram", IMAGE_SIZEOF_SHORT_NAME) == 0) {
            return base + section->VirtualAddress;
        }
    }
    return nullptr;
}

}  // namespace

namespace cvi {

void PrepareUnwinder(HMODULE image) {
    // The start-up code's own test: only with the shared runtime loaded did
    // the tables go elsewhere. Asking the unwinder instead would sort its
    // tables on every load.
    if (!::GetModuleHandleA("libgcc_s_dw2-1.dll")) return;
    void* tables = FindUnwindTables(image);
    if (!tables) return;
    __register_frame(tables);
    g_registeredTables = tables;
}

void ReleaseUnwinder() {
    if (g_registeredTables) {
        __deregister_frame(g_registeredTables);
        g_registeredTables = nullptr;
    }
    const LONG count = g_semaphoreCount < kTrackedSemaphores ? g_semaphoreCount : kTrackedSemaphores;
    for (LONG i = 0; i < count; ++i) ::CloseHandle(g_semaphores[i]);
    g_semaphoreCount = 0;
}

}  // namespace cvi

// NOLINTEND(bugprone-reserved-identifier,cert-dcl37-c,cert-dcl51-cpp)
#else

// Other unwinders find the tables through the image itself.
namespace cvi {
void PrepareUnwinder(HMODULE) {}
void ReleaseUnwinder() {}
}  // namespace cvi

#endif
