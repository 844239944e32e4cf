#include "webserver/aspnet/windows_directory.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "frame/find_string.h"
#include "frame/unique_resource.h"

namespace cvi {
namespace {

using EnvironmentCopy = unique_runtime_heap<char>;

// A heap copy of the runtime's copy of an environment variable, or null when
// it is not set. getenv_s rather than _dupenv_s: the system msvcrt.dll that
// the library runs against does not carry _dupenv_s everywhere.
EnvironmentCopy CopyEnvironmentValue(const char* name) {
    // Runtimes differ in whether this size probe returns 0 or ERANGE; the
    // size it reports is what counts.
    std::size_t required = 0;
    static_cast<void>(getenv_s(&required, nullptr, 0, name));
    if (required == 0) return EnvironmentCopy();
    EnvironmentCopy copy(static_cast<char*>(std::malloc(required)));
    if (!copy) return EnvironmentCopy();
    std::size_t written = 0;
    if (getenv_s(&written, copy.get(), required, name) != 0 || written == 0) return EnvironmentCopy();
    return copy;
}

}  // namespace

int GetEffectiveWindowsDirectory(char* buffer, UINT size) {
    if (!buffer || size == 0) return 0;
    const UINT capacity = size < kWindowsDirectoryCapacity ? size : kWindowsDirectoryCapacity;
    const UINT length = ::GetWindowsDirectoryA(buffer, capacity);
    if (length == 0 || length >= capacity) {
        buffer[0] = '\0';
        return 0;
    }

    {
        const EnvironmentCopy home = CopyEnvironmentValue("HOMEPATH");
        if (!home || !FindStringNoCase(buffer, home.get())) return 1;
    }
    const EnvironmentCopy systemDirectory = CopyEnvironmentValue("WinDir");
    if (systemDirectory && systemDirectory.get()[0] != '\0' &&
        std::strlen(systemDirectory.get()) < size) {
        strcpy_s(buffer, size, systemDirectory.get());
    }
    return 1;
}

}  // namespace cvi
