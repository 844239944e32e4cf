// Linked into the DLL only. GCC's C++ runtime reports an uncaught exception
// through a handler that demangles type names, which costs a fifth of the
// library's size. Nothing the library throws leaves it (every export catches
// everything), so the handler would only ever run on a broken invariant:
// ending the process at once is the right answer there anyway.
#include <cstdlib>  // defines __GLIBCXX__ when the runtime is GCC's

#if defined(__GLIBCXX__)

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
#endif
