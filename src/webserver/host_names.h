// The executables that want COM in the multithreaded apartment. Free of any
// Windows dependency so it can be tested and fuzzed natively.
#pragma once

namespace cvi {

// True when `path` contains, in any letter case, the name of one of the
// product's server executables or the mail client's. A substring test over
// the whole path: a folder named after a listed executable counts as well.
bool PathNamesMultithreadedHost(const char* path);

}  // namespace cvi
