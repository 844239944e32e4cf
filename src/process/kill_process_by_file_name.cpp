#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstring>

#include "cvinstaller.h"
#include "frame/find_string.h"
#include "frame/format_bounded.h"
#include "frame/unique_resource.h"
#include "process/process_control.h"

namespace cvi {
namespace {

constexpr DWORD kTokenAccess = TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY;  // 0x28
constexpr DWORD kProcessAccess = 0x1FFFFF;                             // PROCESS_ALL_ACCESS
constexpr DWORD kWaitPerAttemptMs = 1000;
constexpr int kAttempts = 5;

// One line per process on the standard output, "%s\n" as the runtime
// formats it. Composed first and written with one call, so concurrent output
// of the host cannot split a line.
void WriteProcessLine(const char* exeName) {
    char line[MAX_PATH + 2];
    FormatBounded(line, sizeof line, "%s\n", exeName);
    // Output that cannot be written is no reason to stop the walk.
    static_cast<void>(std::fputs(line, stdout));
}

}  // namespace

// The file-name part of the opened process's own image, or false when it
// cannot be read.
bool ReadImageFileName(HANDLE process, char (&name)[MAX_PATH]) {
    char path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (!::QueryFullProcessImageNameA(process, 0, path, &size) || size == 0 || size >= MAX_PATH) return false;
    const char* lastSlash = std::strrchr(path, '\\');
    const char* fileName = lastSlash ? lastSlash + 1 : path;
    return FormatBounded(name, MAX_PATH, "%s", fileName) == 0;
}

void TerminateIfStillNamed(DWORD processId, const char* namePart) {
    unique_handle process(::OpenProcess(kProcessAccess, FALSE, processId));
    if (!process) return;  // protected, denied or already gone
    // The snapshot may be seconds old: the process seen there can have
    // ended and its ID been given to another. The open handle pins the ID,
    // so the name read now is the name of the process that would be ended.
    char imageName[MAX_PATH];
    if (!ReadImageFileName(process.get(), imageName) || !FindStringNoCase(imageName, namePart)) return;
    ::TerminateProcess(process.get(), 0);

    // Never signalled: it only gives each pause a handle to wait its full
    // course on. Without it each pause returns at once.
    unique_handle pause(::CreateEventA(nullptr, FALSE, FALSE, nullptr));
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (::WaitForSingleObject(process.get(), kWaitPerAttemptMs) != WAIT_TIMEOUT) break;
        WaitWithMessagePump(pause.get());
    }
    // `pause` closes before `process`: event first, then the process.
}

int IsWindowsNT4OrEarlier() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);  // 148 bytes
    static_assert(sizeof(OSVERSIONINFOA) == 148, "version record size");
    // Deprecated because it reports the version an application is manifested
    // for; the question here is only whether the platform is NT 4.0 or older,
    // which every answer settles.
#if defined(_MSC_VER)
#pragma warning(suppress : 4996)
#elif defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
    ::GetVersionExA(&version);
#if defined(__GNUC__) && !defined(_MSC_VER)
#pragma GCC diagnostic pop
#endif
    return (version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion <= 4) ? 1 : 0;
}

void EnableDebugPrivilege() {
    HANDLE raw = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), kTokenAccess, &raw)) return;
    unique_handle token(raw);

    LUID luid;
    if (!::LookupPrivilegeValueA(nullptr, "SeDebugPrivilege", &luid)) return;

    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Luid = luid;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    static_assert(sizeof(privileges) == 16, "one-entry privilege list");
    ::AdjustTokenPrivileges(token.get(), FALSE, &privileges, sizeof(privileges), nullptr, nullptr);
}

}  // namespace cvi

extern "C" int WINAPI KillProcessByFileName(const char* namePart) {
    using namespace cvi;
    if (IsWindowsNT4OrEarlier()) return 0;
    EnableDebugPrivilege();

    unique_snapshot snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return 0;

    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    static_assert(sizeof(entry.szExeFile) == MAX_PATH, "narrow process entry");
    if (!::Process32First(snapshot.get(), &entry)) return 0;

    const DWORD self = ::GetCurrentProcessId();
    do {
        WriteProcessLine(entry.szExeFile);
        if (!FindStringNoCase(entry.szExeFile, namePart)) continue;
        // The caller is never ended from inside its own call: a setup whose
        // own name matches would otherwise die here without a result.
        if (entry.th32ProcessID == self) continue;
        TerminateIfStillNamed(entry.th32ProcessID, namePart);
    } while (::Process32Next(snapshot.get(), &entry));
    return 1;
}
