// Each export called 1,000 times in one process leaves the handle table and
// the process heap where they started.
#include <gtest/gtest.h>

#include <io.h>
#include <malloc.h>

#include <cstdio>
#include <functional>
#include <string>

#include "hardening/dll_under_test.h"

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

void ExpectNoGrowth(const char* name, const std::function<void()>& call, int calls = kCalls) {
    for (int i = 0; i < 10; ++i) call();  // first-use allocations of the system
    const unsigned handles = CountOpenHandles();
    const size_t heap = HeapInUse();
    for (int i = 0; i < calls; ++i) call();
    const unsigned handlesAfter = CountOpenHandles();
    const size_t heapAfter = HeapInUse();
    std::fprintf(stderr, "%-24s handles %u -> %u, heap %zu -> %zu bytes\n", name, handles, handlesAfter, heap, heapAfter);
    EXPECT_EQ(handlesAfter, handles) << name;
    // A leak of even one byte per call would show as 1,000 bytes or more.
    EXPECT_LT(heapAfter, heap + 1000) << name;
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
    ExpectNoGrowth("GetADSIStatus", [&] { GetADSIStatus(); });
    ExpectNoGrowth("IIS_CheckNetFilters", [&] { IIS_CheckNetFilters("2.0"); });
    ExpectNoGrowth("CheckForASPNETISAPI", [&] { CheckForASPNETISAPI(); });
}

TEST_F(Repeat, MapiFolderExportsLeakNothing) {
    CVI_EXPORT_OR_SKIP(dll, InitMAPIDir);
    CVI_EXPORT_OR_SKIP(dll, MSI_SetMAPIProperties);
    char buffer[MAX_PATH];
    ExpectNoGrowth("InitMAPIDir", [&] { InitMAPIDir(buffer, sizeof buffer); });
    ExpectNoGrowth("MSI_SetMAPIProperties", [&] { MSI_SetMAPIProperties(0); });
}

TEST_F(Repeat, ProfileAndFrameExportsLeakNothing) {
    CVI_EXPORT_OR_SKIP(dll, GetTimeAsLong);
    ExpectNoGrowth("GetTimeAsLong", [&] { GetTimeAsLong(); });
    CVI_EXPORT_OR_SKIP(dll, ProfileExists);
    int exists = 0;
    ExpectNoGrowth("ProfileExists", [&] { ProfileExists("repeat-profile", &exists); });
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
