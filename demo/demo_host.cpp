// A small setup-like host: loads CVINSTALLER.dll by name from its own folder
// and shows what its exports do on this machine.
#include <windows.h>

#include <cstdio>
#include <ctime>
#include <string>

#include "program_folder.h"

#include "cvinstaller.h"

namespace {


template <typename Fn>
Fn Export(HMODULE lib, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(lib, name)));
}

PROCESS_INFORMATION StartSleeper(const std::string& exe) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string cmd = "\"" + exe + "\" 120";
    CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    return pi;
}

const char* State(HANDLE process) {
    return WaitForSingleObject(process, 0) == WAIT_OBJECT_0 ? "ended" : "running";
}

}  // namespace

int main() {
    const std::string dir = cvi_tools::ProgramFolder();
    HMODULE lib = LoadLibraryA((dir + "\\CVINSTALLER.dll").c_str());
    if (!lib) {
        std::printf("CVINSTALLER.dll did not load (error %lu)\n", GetLastError());
        return 1;
    }
    auto getTime = Export<decltype(&GetTimeAsLong)>(lib, "GetTimeAsLong");
    auto kill = Export<decltype(&KillProcessByFileName)>(lib, "KillProcessByFileName");

    const LONG now = getTime();
    const time_t t = static_cast<time_t>(now);
    char when[64];
    std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S UTC", std::gmtime(&t));
    std::printf("GetTimeAsLong() = %ld  (%s)\n\n", now, when);

    const std::string sleeper = dir + "\\demo_sleeper.exe";
    CopyFileA((dir + "\\sleeper.exe").c_str(), sleeper.c_str(), FALSE);
    PROCESS_INFORMATION a = StartSleeper(sleeper);
    PROCESS_INFORMATION b = StartSleeper(sleeper);
    std::printf("Started demo_sleeper.exe twice: pid %lu (%s), pid %lu (%s)\n", a.dwProcessId,
                State(a.hProcess), b.dwProcessId, State(b.hProcess));
    std::printf("\nKillProcessByFileName(\"DEMO_SLEEPER\") lists every process it sees:\n");
    std::fflush(stdout);
    const DWORD start = GetTickCount();
    const int result = kill("DEMO_SLEEPER");
    const DWORD elapsed = GetTickCount() - start;
    std::fflush(stdout);
    std::printf("\nKillProcessByFileName = %d (process list walked) in %lu ms\n", result, elapsed);
    std::printf("pid %lu: %s, pid %lu: %s\n", a.dwProcessId, State(a.hProcess), b.dwProcessId,
                State(b.hProcess));

    for (HANDLE h : {a.hProcess, a.hThread, b.hProcess, b.hThread})
        if (h) CloseHandle(h);
    FreeLibrary(lib);
    DeleteFileA(sleeper.c_str());
    return result == 1 ? 0 : 1;
}
