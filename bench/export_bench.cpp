// Prints median timings of exports against what they wrap or replace:
// KillProcessByFileName against taskkill /F /IM for ten processes, and the
// per-call cost of RegistryKeyExists and ProfileExists, and what loading the
// library for every call costs and leaves behind beside a plain C library.
#include <windows.h>

#include <io.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "process_accounting.h"
#include "program_folder.h"

#include "cvinstaller.h"

namespace {


double NowMs() {
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return 1000.0 * static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

HANDLE Start(const std::string& exe, const std::string& args, bool wait = false) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = CreateFileA("NUL", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    PROCESS_INFORMATION pi{};
    std::string cmd = "\"" + exe + "\" " + args;
    BOOL ok = CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
    CloseHandle(si.hStdOutput);
    if (!ok) return nullptr;
    CloseHandle(pi.hThread);
    if (wait) WaitForSingleObject(pi.hProcess, INFINITE);
    return pi.hProcess;
}

std::vector<HANDLE> StartSleepers(const std::string& exe, int count) {
    std::vector<HANDLE> v;
    for (int i = 0; i < count; ++i) v.push_back(Start(exe, "120"));
    Sleep(300);  // let them reach their wait
    return v;
}

void EndAll(std::vector<HANDLE>& v) {
    for (HANDLE h : v) {
        TerminateProcess(h, 1);
        WaitForSingleObject(h, 5000);
        CloseHandle(h);
    }
    v.clear();
}

template <typename Fn>
Fn Export(HMODULE lib, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(lib, name)));
}

// Runs `call` in batches and returns the median microseconds per call.
template <typename Call>
double PerCallUs(Call call, int batches = 15, int perBatch = 200) {
    std::vector<double> t;
    for (int b = 0; b < batches; ++b) {
        const double start = NowMs();
        for (int i = 0; i < perBatch; ++i) call();
        t.push_back((NowMs() - start) * 1000.0 / perBatch);
    }
    return Median(t);
}

// The MAPI stand-in journals every call it answers; emptied after each
// call, its journal's growth is not counted as the library's.
void DiscardStandInJournal() {
    using TakeJournalFn = DWORD(WINAPI*)(char*, DWORD);
    char none[1];
    if (auto take = Export<TakeJournalFn>(GetModuleHandleA("mapi_provider.dll"), "StandInTakeJournal"))
        take(none, sizeof none);
}

// `cycles` rounds of `round`: microseconds per round, and what the process
// holds more afterwards.
template <typename Round>
void MeasureRounds(FILE* out, const char* label, Round round, int cycles) {
    for (int i = 0; i < 20; ++i) round();
    const long handles = static_cast<long>(cvi_tools::CountOpenHandles());
    const long heap = static_cast<long>(cvi_tools::HeapInUse());
    const double start = NowMs();
    for (int i = 0; i < cycles; ++i) round();
    const double us = (NowMs() - start) * 1000.0 / cycles;
    std::fprintf(out, "perload\t%s\t%d\t%.1f\t%ld\t%ld\n", label, cycles, us, static_cast<long>(cvi_tools::CountOpenHandles()) - handles,
                 static_cast<long>(cvi_tools::HeapInUse()) - heap);
}

// Loading the library for every call, as installer scripting plug-ins do,
// beside a plain C library loaded the same way.
void MeasureLoading(FILE* out, const std::string& dir, int cycles) {
    // The platform's own libraries stay loaded, as in any real host after
    // its first call.
    for (const char* name : {"mapi32.dll", "activeds.dll", "msi.dll"}) LoadLibraryA(name);
    const std::string ours = dir + "\\CVINSTALLER.dll", plain = dir + "\\plain_library.dll";
    MeasureRounds(out, "plain C library: load, call, unload", [&] {
        const HMODULE m = LoadLibraryA(plain.c_str());
        if (auto f = Export<LONG (*)()>(m, "PlainTime")) f();
        FreeLibrary(m);
    }, cycles);
    MeasureRounds(out, "CVINSTALLER.dll: load, unload", [&] { FreeLibrary(LoadLibraryA(ours.c_str())); }, cycles);
    MeasureRounds(out, "CVINSTALLER.dll: load, 4 calls, unload", [&] {
        const HMODULE m = LoadLibraryA(ours.c_str());
        int exists = 0;
        char folder[MAX_PATH];
        Export<decltype(&GetTimeAsLong)>(m, "GetTimeAsLong")();
        Export<decltype(&RegistryKeyExists)>(m, "RegistryKeyExists")("Software\\Microsoft");
        Export<decltype(&ProfileExists)>(m, "ProfileExists")("per-load-bench", &exists);
        DiscardStandInJournal();
        Export<decltype(&InitMAPIDir)>(m, "InitMAPIDir")(folder, sizeof folder);
        FreeLibrary(m);
    }, cycles);
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? atoi(argv[1]) : 5;
    const int loadCycles = argc > 2 ? atoi(argv[2]) : 10000;
    const std::string dir = cvi_tools::ProgramFolder();
    // Silence the per-process lines of KillProcessByFileName.
    freopen("NUL", "w", stdout);
    FILE* out = fdopen(_dup(2), "w");

    HMODULE lib = LoadLibraryA((dir + "\\CVINSTALLER.dll").c_str());
    if (!lib) return 1;
    auto kill = Export<decltype(&KillProcessByFileName)>(lib, "KillProcessByFileName");

    const std::string a = dir + "\\bench_sleeper_a.exe", b = dir + "\\bench_sleeper_b.exe";
    CopyFileA((dir + "\\sleeper.exe").c_str(), a.c_str(), FALSE);
    CopyFileA((dir + "\\sleeper.exe").c_str(), b.c_str(), FALSE);
    char sysdir[MAX_PATH];
    GetSystemDirectoryA(sysdir, MAX_PATH);
    const std::string taskkill = std::string(sysdir) + "\\taskkill.exe";

    std::vector<double> ours, theirs;
    for (int r = 0; r < rounds; ++r) {
        auto procs = StartSleepers(a, 10);
        double t0 = NowMs();
        kill("bench_sleeper_a");
        ours.push_back(NowMs() - t0);
        EndAll(procs);

        procs = StartSleepers(b, 10);
        t0 = NowMs();
        HANDLE tk = Start(taskkill, "/F /IM bench_sleeper_b.exe", true);
        theirs.push_back(NowMs() - t0);
        if (tk) CloseHandle(tk);
        EndAll(procs);
    }
    DeleteFileA(a.c_str());
    DeleteFileA(b.c_str());
    const double k = Median(ours), t = Median(theirs);
    std::fprintf(out, "kill10\t%.1f\t%.1f\t%.2f\n", k, t, t > 0 ? k / t : 0);

    if (auto exists = Export<decltype(&RegistryKeyExists)>(lib, "RegistryKeyExists")) {
        const double e = PerCallUs([&] { exists("Software\\Microsoft"); });
        const double bare = PerCallUs([] {
            HKEY key;
            if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft", 0, KEY_QUERY_VALUE, &key) == 0)
                RegCloseKey(key);
        });
        std::fprintf(out, "regexists\t%.2f\t%.2f\t%.2f\n", e, bare, bare > 0 ? e / bare : 0);
    }
    if (auto profile = Export<decltype(&ProfileExists)>(lib, "ProfileExists")) {
        int found = 0;
        // The library binds MAPI32 for each call; a host that holds it (or
        // the mail client's own libraries) loaded saves loading it each time.
        const double cold = PerCallUs([&] { profile("bench-profile", &found); }, 5, 10);
        const HMODULE mapi = LoadLibraryA("mapi32.dll");
        const double held = PerCallUs([&] { profile("bench-profile", &found); }, 9, 20);
        FreeLibrary(mapi);
        std::fprintf(out, "profileexists\t%.2f\t%.2f\n", cold, held);
    }
    FreeLibrary(lib);
    MeasureLoading(out, dir, loadCycles);
    std::fclose(out);
    return 0;
}
