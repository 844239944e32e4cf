// Linked into the DLL only: the image's unwind tables for the unwinder linked
// into the DLL.
//
// MinGW's i686 start-up code registers an image's DWARF unwind tables with
// the shared libgcc_s_dw2-1.dll when that library is already loaded in the
// process, and with the image's own static unwinder otherwise. The DLL
// throws and catches with its own static unwinder, so inside a host that had
// the shared runtime loaded first (any program built with MinGW's shared
// runtime) the first exception found no tables and the runtime ended the
// host. Here the static unwinder is asked whether it knows the image; when it
// does not, the image's tables are registered with it, and taken back when
// the DLL is unloaded.
#include "frame/dll_runtime.h"

#include <cstring>

#if defined(__GLIBCXX__) && defined(__i386__) && !defined(__USING_SJLJ_EXCEPTIONS__) && !defined(__SEH__)

namespace {

// The unwinder's own entry points (libgcc's unwind-dw2-fde).
struct DwarfEhBases {
    void* tbase;
    void* dbase;
    void* func;
};
extern "C" const void* _Unwind_Find_FDE(void* pc, DwarfEhBases* bases);
extern "C" void __register_frame(void* begin);
extern "C" void __deregister_frame(void* begin);

// The tables this DLL registered, or null. Written on attach and read on
// detach, both under the loader lock.
void* g_registeredTables = nullptr;

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

void RegisterUnwindTablesIfUnknown(HMODULE image) {
    DwarfEhBases bases{};
    // Any code address of the image will do; this function's own is one.
    if (_Unwind_Find_FDE(reinterpret_cast<void*>(&RegisterUnwindTablesIfUnknown), &bases)) return;
    void* tables = FindUnwindTables(image);
    if (!tables) return;
    __register_frame(tables);
    g_registeredTables = tables;
}

void DeregisterUnwindTables() {
    if (!g_registeredTables) return;
    __deregister_frame(g_registeredTables);
    g_registeredTables = nullptr;
}

}  // namespace cvi

#else

// Other unwinders find the tables through the image itself.
namespace cvi {
void RegisterUnwindTablesIfUnknown(HMODULE) {}
void DeregisterUnwindTables() {}
}  // namespace cvi

#endif
