// The pieces of GCC's C++ runtime that the DLL replaces or completes, so it
// stays small, can be loaded and unloaded any number of times, and handles
// its exceptions whatever runtime the host has loaded. They are linked into
// the DLL only; the library entry calls them.
//
// They depend on the runtime's private data layout and start-up behaviour,
// checked against one toolchain: any other fails the build here, so an
// upgrade cannot compile cleanly and then corrupt memory inside a setup.
#pragma once

#include <windows.h>

#include <cstdlib>  // defines __GLIBCXX__ when the runtime is GCC's

#if defined(__GLIBCXX__)
#if !defined(__MINGW32__) || __GNUC__ != 12
#error "dll_*.cpp replace parts of GCC 12's C++ runtime for MinGW-w64. For another toolchain re-verify: \
the layout of __cxa_refcounted_exception and __cxa_dependent_exception (libsupc++/unwind-cxx.h), \
the __cxa_eh_globals record, the members of eh_alloc.o, and crtbegin.o's frame registration; then update \
this check."
#endif
#endif

namespace cvi {

// On process attach: makes sure the unwinder linked into the DLL knows the
// image's unwind tables (dll_unwind_tables.cpp).
void PrepareUnwinder(HMODULE image);

// On unload, not at process end, what the runtime took for the process goes
// back: the unwinder's registration and lock handles, then the exception
// bookkeeping slot (dll_exception_globals.cpp).
void ReleaseUnwinder();
void ReleaseExceptionGlobals();

}  // namespace cvi
