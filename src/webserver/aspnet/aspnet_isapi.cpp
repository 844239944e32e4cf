#include "webserver/aspnet/aspnet_isapi.h"

#include <windows.h>
#include <io.h>

#include <cstdint>

#include "cvinstaller.h"
#include "frame/unique_resource.h"
#include "webserver/aspnet/append_bounded.h"
#include "webserver/aspnet/windows_directory.h"

namespace cvi {
namespace {

struct runtime_find_traits {
    using type = std::intptr_t;
    static type invalid() noexcept { return -1; }
    static void close(type h) noexcept { ::_findclose(h); }
};
struct win32_find_traits {
    using type = HANDLE;
    static type invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(type h) noexcept { ::FindClose(h); }
};

// <Windows>\Microsoft.NET\<framework><tail>; false when it does not fit,
// so that no shortened path is ever looked at.
bool ComposeFrameworkPath(char* path, const char* frameworkFolder, const char* tail) {
    return GetEffectiveWindowsDirectory(path, kWindowsDirectoryCapacity) != 0 &&
           AppendBounded(path, "\\Microsoft.NET\\") && AppendBounded(path, frameworkFolder) &&
           AppendBounded(path, tail);
}

bool ComposeCandidate(char* path, const char* frameworkFolder, const char* entryName) {
    return ComposeFrameworkPath(path, frameworkFolder, "\\") && AppendBounded(path, entryName) &&
           AppendBounded(path, "\\aspnet_isapi.dll");
}

}  // namespace

int PathExists(const char* path) {
    WIN32_FIND_DATAA found;
    const unique_any<win32_find_traits> search(::FindFirstFileA(path, &found));
    return search ? 1 : 0;
}

int ScanFrameworkForASPNETISAPI(const char* frameworkFolder) {
    char pattern[kPathBufferSize] = {};
    if (!ComposeFrameworkPath(pattern, frameworkFolder, "\\v*")) return 0;

    // Files named v* are candidates as much as folders: their candidate
    // path simply does not exist.
    _finddata64i32_t entry;
    const unique_any<runtime_find_traits> search(::_findfirst64i32(pattern, &entry));
    if (!search) return 0;
    do {
        char candidate[kPathBufferSize] = {};
        if (ComposeCandidate(candidate, frameworkFolder, entry.name) && PathExists(candidate)) {
            return 1;
        }
    } while (::_findnext64i32(search.get(), &entry) == 0);
    return 0;
}

}  // namespace cvi

extern "C" int WINAPI CheckForASPNETISAPI(void) {
    if (cvi::ScanFrameworkForASPNETISAPI("Framework") == 1) return 1;
    return cvi::ScanFrameworkForASPNETISAPI("Framework64");
}
