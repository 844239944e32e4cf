// Each export called 1,000 times in one process leaves the handle table and
// the process heap where they started.
#include <gtest/gtest.h>

#include <io.h>
#include <malloc.h>

#include <cstdio>
#include <functional>
#include <string>

#include <objbase.h>

#include "hardening/dll_under_test.h"
#include "support/test_support.h"
#include "stand-ins/mapi-provider/stand_in_control.h"

namespace {

using cvi_test::CountOpenHandles;
using cvi_test::Dll;

constexpr int kCalls = 1000;

// Bytes in use in the process heap (the C runtime's heap is the process
// heap in this runtime).
size_t HeapInUse() {
    size_t used = 0;
    PROCESS_HEAP_ENTRY e{};
    HeapLock(GetProcessHeap());
    while (HeapWalk(GetProcessHeap(), &e))
        if (e.wFlags & PROCESS_HEAP_ENTRY_BUSY) used += e.cbData;
    HeapUnlock(GetProcessHeap());
    return used;
}

struct Growth {
    long handles;
    long heap;
};

Growth Measure(const std::function<void()>& call, int calls) {
    for (int i = 0; i < 10; ++i) call();  // first-use allocations of the system
    const unsigned handles = CountOpenHandles();
    const size_t heap = HeapInUse();
    for (int i = 0; i < calls; ++i) call();
    return {static_cast<long>(CountOpenHandles()) - static_cast<long>(handles),
            static_cast<long>(HeapInUse()) - static_cast<long>(heap)};
}

// `platform`, when given, is the bare sequence of system calls the export
// makes: what the platform itself keeps per call is not the export's leak.
void ExpectNoGrowth(const char* name, const std::function<void()>& call, int calls = kCalls,
                    const std::function<void()>& platform = nullptr) {
    const Growth bare = platform ? Measure(platform, calls) : Growth{0, 0};
    const Growth ours = Measure(call, calls);
    std::fprintf(stderr, "%-24s %d calls: handles %+ld, heap %+ld bytes (bare platform calls: %+ld, %+ld)\n",
                 name, calls, ours.handles, ours.heap, bare.handles, bare.heap);
    EXPECT_LE(ours.handles, bare.handles) << name;
    // A leak of even one byte per call would show as `calls` bytes or more.
    EXPECT_LT(ours.heap, bare.heap + calls) << name;
}

// Live objects of the directory stand-in, if it is loaded (-1 when not).
long AdsiLiveObjects() {
    HMODULE m = GetModuleHandleA("adsi_provider.dll");
    auto live = m ? reinterpret_cast<LONG(WINAPI*)()>(reinterpret_cast<void*>(GetProcAddress(m, "AdsiStandInLiveObjects")))
                  : nullptr;
    return live ? live() : -1;
}

StandInCounters MapiCounters() {
    StandInCounters c{-1, -1, -1};
    HMODULE m = GetModuleHandleA("mapi_provider.dll");
    auto get = m ? reinterpret_cast<StandInCountersFn>(reinterpret_cast<void*>(GetProcAddress(m, "StandInCounters")))
                 : nullptr;
    if (get) get(&c);
    return c;
}

// What GetADSIStatus does, made of the platform's calls alone.
void BareDirectoryBind() {
    CoInitialize(nullptr);
    IUnknown* object = nullptr;
    using Bind = HRESULT(WINAPI*)(LPCWSTR, REFIID, void**);
    static const IID kIADs = {0xFD8256D0, 0xFD15, 0x11CE, {0xAB, 0xC4, 0x02, 0x60, 0x8C, 0x9E, 0x75, 0x53}};
    // Loaded already: the DLL under test imports it.
    auto bind = reinterpret_cast<Bind>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("activeds.dll"), MAKEINTRESOURCEA(3))));
    if (bind && bind(L"IIS://localhost/W3SVC", kIADs, reinterpret_cast<void**>(&object)) == S_OK && object)
        object->Release();
    CoUninitialize();
}

class Repeat : public ::testing::Test {
protected:
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\CVINSTALLER-tests\\repeat"); }
    Dll dll;
};

TEST_F(Repeat, RegistryExportsLeakNothing) {
    CVI_EXPORT_OR_SKIP(dll, RegistryKeyExists);
    CVI_EXPORT_OR_SKIP(dll, CreateEmptyKey3264);
    CVI_EXPORT_OR_SKIP(dll, SetRegistryString3264);
    CVI_EXPORT_OR_SKIP(dll, SetRegistryWord3264);
    const char* key = "Software\\CVINSTALLER-tests\\repeat";
    ExpectNoGrowth("RegistryKeyExists", [&] { RegistryKeyExists("Software\\Microsoft"); });
    ExpectNoGrowth("CreateEmptyKey3264", [&] { CreateEmptyKey3264(HKEY_CURRENT_USER, key, "d", 1); });
    ExpectNoGrowth("SetRegistryString3264", [&] { SetRegistryString3264(HKEY_CURRENT_USER, key, "s", "v", 0); });
    ExpectNoGrowth("SetRegistryWord3264", [&] { SetRegistryWord3264(HKEY_CURRENT_USER, key, "w", 9, 0); });
}

TEST_F(Repeat, WebServerExportsLeakNothing) {
    CVI_EXPORT_OR_SKIP(dll, GetADSIStatus);
    CVI_EXPORT_OR_SKIP(dll, IIS_CheckNetFilters);
    CVI_EXPORT_OR_SKIP(dll, CheckForASPNETISAPI);
    // COM loads and unloads the directory stand-in with every apartment; its
    // own C++ runtime takes a thread slot per load that it never gives back,
    // which would end this process after about a thousand rounds. Keeping it
    // loaded here takes the stand-in out of what is measured.
    const HMODULE standIn = LoadLibraryA((cvi_test::BinDir() + "\\adsi_provider.dll").c_str());
    ASSERT_NE(standIn, nullptr);
    // Wine keeps two handles per apartment that loads an in-process server;
    // the bare calls show it, so the exports are held to the same count.
    ExpectNoGrowth("GetADSIStatus", [&] { GetADSIStatus(); }, kCalls, BareDirectoryBind);
    ExpectNoGrowth("IIS_CheckNetFilters", [&] { IIS_CheckNetFilters("2.0"); }, kCalls, BareDirectoryBind);
    ExpectNoGrowth("CheckForASPNETISAPI", [&] { CheckForASPNETISAPI(); });
    EXPECT_EQ(AdsiLiveObjects(), 0) << "directory objects left alive";
    FreeLibrary(standIn);
}

// mapi32 loads the provider stand-in again and again; the stand-in's own C++
// runtime keeps a semaphore per load (its frame registration in x86, its
// guarded statics in x86-64). Keeping it loaded takes the stand-in out of
// what is measured.
struct MapiStandInKeptLoaded {
    HMODULE module = LoadLibraryA((cvi_test::BinDir() + "\\mapi_provider.dll").c_str());
    ~MapiStandInKeptLoaded() {
        if (module) FreeLibrary(module);
    }
};

TEST_F(Repeat, MapiFolderExportsLeakNothing) {
    CVI_EXPORT_OR_SKIP(dll, InitMAPIDir);
    CVI_EXPORT_OR_SKIP(dll, MSI_SetMAPIProperties);
    const MapiStandInKeptLoaded standIn;
    ASSERT_NE(standIn.module, nullptr);
    char buffer[MAX_PATH];
    ExpectNoGrowth("InitMAPIDir", [&] { InitMAPIDir(buffer, sizeof buffer); });
    ExpectNoGrowth("MSI_SetMAPIProperties", [&] { MSI_SetMAPIProperties(0); });
}

TEST_F(Repeat, ProfileAndFrameExportsLeakNothing) {
    CVI_EXPORT_OR_SKIP(dll, GetTimeAsLong);
    ExpectNoGrowth("GetTimeAsLong", [&] { GetTimeAsLong(); });
    CVI_EXPORT_OR_SKIP(dll, ProfileExists);
    const MapiStandInKeptLoaded standIn;
    ASSERT_NE(standIn.module, nullptr);
    int exists = 0;
    ExpectNoGrowth("ProfileExists", [&] { ProfileExists("repeat-profile", &exists); });
    const StandInCounters c = MapiCounters();
    if (c.liveObjects != -1) {
        EXPECT_EQ(c.liveObjects, 0);
        EXPECT_EQ(c.outstandingBuffers, 0);
        EXPECT_EQ(c.initBalance, 0);
    }
}

TEST_F(Repeat, KillProcessByFileNameLeaksNothing) {
    CVI_EXPORT_OR_SKIP(dll, KillProcessByFileName);
    // Its process list goes to stdout; keep the log readable. Each call walks
    // every process, so fewer rounds keep the test short under emulation.
    std::fflush(stdout);
    const int saved = _dup(_fileno(stdout));
    FILE* quiet = std::freopen("NUL", "w", stdout);
    ExpectNoGrowth("KillProcessByFileName", [&] { KillProcessByFileName("no-such-program-91e2"); }, 200);
    std::fflush(stdout);
    if (quiet) _dup2(saved, _fileno(stdout));
    _close(saved);
}

}  // namespace
