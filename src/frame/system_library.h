// Libraries that are not KnownDLLs (MAPI32, activeds, msi) are bound when a
// call needs them, from the system folder only. A load-time import, or a load
// by bare name, would let a copy planted beside the host executable (a setup
// in a Downloads folder, often elevated) run inside the host.
#pragma once

#include <windows.h>

#include "frame/unique_resource.h"

namespace cvi {

// Loads `fileName` from `folder` by its full path; dependencies of the
// library resolve from that folder too, not from the host's. Empty when the
// path does not fit or the library cannot be loaded.
unique_module LoadLibraryFromFolder(const char* folder, const char* fileName);

// The same, from the system folder.
unique_module LoadSystemLibrary(const char* fileName);

// The entry point `ordinal` of `library` as `Fn`; null when the library is
// empty or has no such entry point.
template <typename Fn>
Fn EntryPointByOrdinal(HMODULE library, WORD ordinal) {
    if (!library) return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(library, MAKEINTRESOURCEA(ordinal))));
}

}  // namespace cvi
