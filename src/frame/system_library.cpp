#include "frame/system_library.h"

#include "frame/format_bounded.h"

namespace cvi {

unique_module LoadLibraryFromFolder(const char* folder, const char* fileName) {
    if (!folder || folder[0] == '\0' || !fileName) return unique_module();
    char path[MAX_PATH + 1] = {};
    if (FormatBounded(path, sizeof(path), "%s\\%s", folder, fileName) != 0) return unique_module();
    // With a full path, the altered search order looks for the library's own
    // dependencies in its folder before the host's.
    return unique_module(::LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
}

unique_module LoadSystemLibrary(const char* fileName) {
    char systemDirectory[MAX_PATH + 1] = {};
    const UINT length = ::GetSystemDirectoryA(systemDirectory, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return unique_module();
    return LoadLibraryFromFolder(systemDirectory, fileName);
}

}  // namespace cvi
