// What the DLL's own runtime pieces need from the library entry.
#pragma once

namespace cvi {

// Gives back what the runtime took for the process (see dll_runtime.cpp).
// Called when the DLL is unloaded, not when the process ends.
void ReleaseRuntimeOnUnload();

}  // namespace cvi
