#include "mapi/mapi_directory.h"

#include <cstring>

#include "frame/format_bounded.h"
#include "frame/system_library.h"

namespace cvi {
namespace {

constexpr char kComponentId[] = "{FF1D0740-D227-11D1-A4B0-006008AF820E}";
constexpr char kMailClientKey[] = "Software\\Clients\\Mail\\Microsoft Outlook";
constexpr char kApplicationQualifier[] = "MSIApplicationLCID";
constexpr char kOfficeQualifier[] = "MSIOfficeLCID";
constexpr char kServiceFile[] = "MAPISVC.INF";
constexpr DWORD kKeyRead = KEY_READ;  // 0x20019
static_assert(kKeyRead == 0x20019, "read access as the mail client key is opened");

// The NULs placed behind a qualifier's data: enough to end both its last
// string and the list, whatever the stored data lacks.
constexpr DWORD kQualifierTerminators = 2;

using FGetComponentPathFn = BOOL(WINAPI*)(LPCSTR component, LPCSTR qualifier, LPSTR path,
                                          DWORD capacity, BOOL install);

FGetComponentPathFn LookUpComponentPath(HMODULE stub) {
    if (!stub) return nullptr;
    return reinterpret_cast<FGetComponentPathFn>(
        reinterpret_cast<void*>(::GetProcAddress(stub, "FGetComponentPath")));
}

bool Answered(BOOL result, const char* destination) { return result && destination[0] != '\0'; }

// Asks the stub with the mail client's qualifiers, then without one, and
// leaves the folder of the reported file in `destination`. False when no
// usable answer came.
bool AskStub(FGetComponentPathFn getComponentPath, char* destination, DWORD capacity) {
    // Declared key first, so the qualifier blocks are freed before it closes.
    unique_hkey key;
    unique_process_heap<char> application;
    unique_process_heap<char> office;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kMailClientKey, 0, kKeyRead, key.put()) == ERROR_SUCCESS) {
        ReadMultiStringValue(key.get(), kApplicationQualifier, application);
        ReadMultiStringValue(key.get(), kOfficeQualifier, office);
    }

    // A stub that fills the whole buffer without a terminator must not make
    // the search below run past it; an answer that is terminated is left as
    // it is, so nothing is written where the answer does not reach.
    const auto ask = [&](const char* qualifier) {
        const BOOL result = getComponentPath(kComponentId, qualifier, destination, capacity, TRUE);
        if (!std::memchr(destination, '\0', capacity)) destination[capacity - 1] = '\0';
        return result;
    };

    BOOL result = TRUE;
    if (application) result = ask(application.get());
    if (!Answered(result, destination) && office) result = ask(office.get());
    if (!Answered(result, destination)) result = ask(nullptr);
    if (!Answered(result, destination)) return false;

    // The stub names a file inside the folder; keep the folder.
    char* lastBackslash = std::strrchr(destination, '\\');
    if (lastBackslash) {
        *lastBackslash = '\0';
    } else {
        destination[0] = '\0';
    }
    return destination[0] != '\0';
}

}  // namespace

void ReadMultiStringValue(HKEY key, const char* name, unique_process_heap<char>& value) {
    value.reset();
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return;
    if (size == 0 || type != REG_MULTI_SZ) return;
    if (size > MAXDWORD - kQualifierTerminators) return;

    unique_process_heap<char> block(static_cast<char*>(
        ::HeapAlloc(::GetProcessHeap(), HEAP_ZERO_MEMORY, size + kQualifierTerminators)));
    if (!block) return;
    // Only `size` bytes are offered to the read, so the zeroed tail stays.
    if (::RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(block.get()), &size) !=
        ERROR_SUCCESS) {
        return;
    }
    value = std::move(block);
}

void GetMAPIDirectory(char* destination, DWORD capacity, bool appendServiceFile) {
    if (!destination || capacity == 0) return;
    destination[0] = '\0';

    char systemDirectory[MAX_PATH + 1] = {};
    // A folder too long for the buffer leaves it empty, and stubs looked up
    // in an empty folder would come from the root of the current drive.
    const UINT length = ::GetSystemDirectoryA(systemDirectory, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    // The system's stub reaches further libraries by bare name, which the
    // loader looks for in the host's folder first: its entry point may be
    // forwarded to "mapi32", and the answer comes from the installer library
    // "msi". With the system's copies loaded for the length of the search,
    // those names can only mean them.
    const unique_module systemMsi = LoadLibraryFromFolder(systemDirectory, "msi.dll");
    const unique_module systemMapi = LoadLibraryFromFolder(systemDirectory, "mapi32.dll");
    FindMAPIDirectory(systemDirectory, destination, capacity, appendServiceFile);
}

void FindMAPIDirectory(const char* systemDirectory, char* destination, DWORD capacity,
                       bool appendServiceFile) {
    if (!destination || capacity == 0) return;
    destination[0] = '\0';
    // Refused as the bounded formatting refuses it: no real buffer is that
    // large, so such a size is a caller's mistake, not room to write into.
    if (capacity > kFormatMaxCapacity) return;
    if (!systemDirectory || systemDirectory[0] == '\0') return;
    // Both stubs are loaded the same way; a folder whose stub paths cannot be
    // composed is no folder to fall back on either.
    char stubPath[MAX_PATH + 1] = {};
    if (FormatBounded(stubPath, sizeof(stubPath), "%s\\%s", systemDirectory, "mapistub.dll") != 0) return;

    // Freed in reverse order of declaration: mapi32 first, then mapistub.
    unique_module mapistub = LoadLibraryFromFolder(systemDirectory, "mapistub.dll");
    unique_module mapi32;
    FGetComponentPathFn getComponentPath = LookUpComponentPath(mapistub.get());
    if (!getComponentPath) {
        mapi32 = LoadLibraryFromFolder(systemDirectory, "mapi32.dll");
        getComponentPath = LookUpComponentPath(mapi32.get());
    }

    if (!getComponentPath || !AskStub(getComponentPath, destination, capacity)) {
        // Whatever a failed call left behind is no folder, even where the
        // fallback cannot be formatted.
        destination[0] = '\0';
        FormatBounded(destination, capacity, "%s", systemDirectory);
    }

    if (appendServiceFile && destination[0] != '\0') {
        // Appended behind the folder rather than formatted from a copy of
        // the destination into itself; a text that does not fit is cut at
        // capacity - 1 all the same.
        const std::size_t length = std::strlen(destination);
        FormatBounded(destination + length, capacity - length, "\\%s", kServiceFile);
    }
}

}  // namespace cvi
