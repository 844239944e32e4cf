// Linked into the DLL only: the memory of thrown objects. The runtime's own
// allocator (eh_alloc.o) builds an emergency pool in a static constructor:
// 18,944 bytes of heap and a semaphore, neither given back on unload, so a
// host that loads the library for each call lost both every time. Defining
// all of that object's entry points here keeps it out of the link (were it
// pulled in after all, its duplicate definitions would fail the link).
//
// Thrown objects come from the heap; when the heap cannot serve, from a small
// reserve in the image that needs no construction and holds nothing across
// an unload. Only when both fail does the process end, as with the runtime's
// own allocator.
#include "frame/dll_runtime.h"

#if defined(__GLIBCXX__)

// This block defines or declares the runtime's own reserved names.
// NOLINTBEGIN(bugprone-reserved-identifier,cert-dcl37-c,cert-dcl51-cpp)

#include <cstring>
#include <exception>
#include <typeinfo>
#include <unwind.h>

namespace {

// The runtime's header in front of every thrown object, to the byte: GCC's
// __cxa_exception and its reference-counted form (the toolchain check in
// dll_runtime.h guards the layout). The dependent form that rethrowing an
// exception_ptr uses is the same header with the primary exception in the
// type's place. Only the sizes are used; the runtime fills the fields.
struct CxaException {
    std::type_info* exceptionType;
    void (*exceptionDestructor)(void*);
    void (*unexpectedHandler)();
    std::terminate_handler terminateHandler;
    CxaException* nextException;
    int handlerCount;
    int handlerSwitchValue;
    const unsigned char* actionRecord;
    const unsigned char* languageSpecificData;
    _Unwind_Ptr catchTemp;
    void* adjustedPtr;
    _Unwind_Exception unwindHeader;
};
struct RefcountedHeader {
    int referenceCount;
    CxaException exception;
};
using DependentException = CxaException;

// The reserve: a few blocks, each claimed and given back with one atomic
// exchange. Static zeroed storage, so loading the image does no work for it.
constexpr std::size_t kReserveBlocks = 4;
constexpr std::size_t kReserveBlockBytes = 1024;
struct alignas(16) ReserveBlock {
    unsigned char bytes[kReserveBlockBytes];
};
ReserveBlock g_reserve[kReserveBlocks];
volatile LONG g_reserveInUse[kReserveBlocks];

void* Allocate(std::size_t size) noexcept {
    if (void* block = std::malloc(size)) return block;
    if (size <= kReserveBlockBytes) {
        for (std::size_t i = 0; i < kReserveBlocks; ++i) {
            if (::InterlockedCompareExchange(&g_reserveInUse[i], 1, 0) == 0) return g_reserve[i].bytes;
        }
    }
    std::terminate();
}

void Free(void* block) noexcept {
    for (std::size_t i = 0; i < kReserveBlocks; ++i) {
        if (block == g_reserve[i].bytes) {
            ::InterlockedExchange(&g_reserveInUse[i], 0);
            return;
        }
    }
    std::free(block);
}

}  // namespace

extern "C" void* __cxa_allocate_exception(std::size_t thrownSize) noexcept {
    // The runtime expects a zeroed header; the object itself it constructs.
    char* block = static_cast<char*>(Allocate(thrownSize + sizeof(RefcountedHeader)));
    std::memset(block, 0, sizeof(RefcountedHeader));
    return block + sizeof(RefcountedHeader);
}

extern "C" void __cxa_free_exception(void* thrownObject) noexcept {
    Free(static_cast<char*>(thrownObject) - sizeof(RefcountedHeader));
}

extern "C" DependentException* __cxa_allocate_dependent_exception() noexcept {
    auto* dependent = static_cast<DependentException*>(Allocate(sizeof(DependentException)));
    std::memset(dependent, 0, sizeof(DependentException));
    return dependent;
}

extern "C" void __cxa_free_dependent_exception(DependentException* dependent) noexcept { Free(dependent); }

namespace __gnu_cxx {
// The runtime's hook for memory checkers to free its pool; there is none.
void __freeres() noexcept {}
}  // namespace __gnu_cxx

// NOLINTEND(bugprone-reserved-identifier,cert-dcl37-c,cert-dcl51-cpp)
#endif
