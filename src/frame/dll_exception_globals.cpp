// Linked into the DLL only: the runtime's per-thread exception record and its
// terminate handler, replaced so the library stays small and can be loaded
// and unloaded any number of times.
#include "frame/dll_runtime.h"

#if defined(__GLIBCXX__)

// This block defines or declares the runtime's own reserved names.
// NOLINTBEGIN(bugprone-reserved-identifier,cert-dcl37-c,cert-dcl51-cpp)

// The runtime reports an uncaught exception through a handler that demangles
// type names, a fifth of the library's size. Nothing the library throws
// leaves it (every export catches everything), so the handler could only run
// on a broken invariant, where ending the process at once is right anyway.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

// Each thread's record of the exceptions in flight. The runtime keeps it in
// an emulated thread-local variable whose Windows TLS slot is taken on the
// first throw and never given back, not even when the DLL is unloaded: a
// host that loads the library for each call (installer scripting plug-ins do)
// ran out of TLS slots after about a thousand calls and the process
// aborted. Fiber-local storage is given back here on unload, and its
// callback frees a thread's record when the thread ends, even though the
// library gets no thread notifications.
namespace {

struct ExceptionGlobals {  // the layout the runtime expects
    void* caughtExceptions;
    unsigned int uncaughtExceptions;
};

// The slot, plus one; 0 until the first exception on any thread.
volatile LONG g_slotPlusOne = 0;

void WINAPI FreeExceptionGlobals(void* globals) {
    if (globals) ::HeapFree(::GetProcessHeap(), 0, globals);
}

DWORD Slot() {
    if (const LONG known = g_slotPlusOne) return static_cast<DWORD>(known - 1);
    const DWORD slot = ::FlsAlloc(&FreeExceptionGlobals);
    if (slot == FLS_OUT_OF_INDEXES) std::abort();
    if (::InterlockedCompareExchange(&g_slotPlusOne, static_cast<LONG>(slot) + 1, 0) != 0) {
        ::FlsFree(slot);  // another thread was first
    }
    return static_cast<DWORD>(g_slotPlusOne - 1);
}

}  // namespace

extern "C" ExceptionGlobals* __cxa_get_globals() noexcept {
    const DWORD error = ::GetLastError();
    const DWORD slot = Slot();
    auto* globals = static_cast<ExceptionGlobals*>(::FlsGetValue(slot));
    if (!globals) {
        globals = static_cast<ExceptionGlobals*>(
            ::HeapAlloc(::GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(ExceptionGlobals)));
        if (!globals || !::FlsSetValue(slot, globals)) std::abort();
    }
    ::SetLastError(error);
    return globals;
}

extern "C" ExceptionGlobals* __cxa_get_globals_fast() noexcept { return __cxa_get_globals(); }

namespace cvi {
void ReleaseExceptionGlobals() {
    if (const LONG known = g_slotPlusOne) ::FlsFree(static_cast<DWORD>(known - 1));
}
}  // namespace cvi

// NOLINTEND(bugprone-reserved-identifier,cert-dcl37-c,cert-dcl51-cpp)
#else

namespace cvi {
void ReleaseExceptionGlobals() {}
}  // namespace cvi

#endif
