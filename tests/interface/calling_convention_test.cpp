// x86 (32-bit flavour) only: stdcall stack discipline. Every export is called
// through a WINAPI pointer obtained by its plain name;
// the stack pointer must be where it was, i.e. the callee removed exactly
// the arguments it was declared with.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "cvinstaller.h"
#include "support/test_support.h"

namespace {

template <typename Fn, typename... Args>
std::int32_t StackDrift(FARPROC proc, Args... args) {
    auto fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(proc));
    std::uint32_t before = 0, after = 0;
    __asm__ __volatile__("movl %%esp, %0" : "=r"(before));
    fn(args...);
    __asm__ __volatile__("movl %%esp, %0" : "=r"(after));
    return static_cast<std::int32_t>(after - before);
}

struct Call {
    const char* name;
    std::function<std::int32_t(FARPROC)> drift;
};

TEST(CallingConvention, EveryExportRemovesItsOwnArguments) {
    HMODULE lib = LoadLibraryA((cvi_test::BinDir() + "\\CVINSTALLER.dll").c_str());
    ASSERT_NE(lib, nullptr);
    char buffer[MAX_PATH] = {};
    int exists = 0;
    const char* key = "Software\\CVINSTALLER-tests\\calling-convention";
    const Call calls[] = {
        {"GetTimeAsLong", [](FARPROC p) { return StackDrift<decltype(&GetTimeAsLong)>(p); }},
        {"KillProcessByFileName",
         [](FARPROC p) { return StackDrift<decltype(&KillProcessByFileName)>(p, "no-such-exe-7f3a"); }},
        {"RegistryKeyExists",
         [](FARPROC p) { return StackDrift<decltype(&RegistryKeyExists)>(p, "Software"); }},
        {"CreateEmptyKey3264",
         [&](FARPROC p) { return StackDrift<decltype(&CreateEmptyKey3264)>(p, HKEY_CURRENT_USER, key, "x", 0); }},
        {"SetRegistryString3264",
         [&](FARPROC p) {
             return StackDrift<decltype(&SetRegistryString3264)>(p, HKEY_CURRENT_USER, key, "s", "v", 0);
         }},
        {"SetRegistryWord3264",
         [&](FARPROC p) {
             return StackDrift<decltype(&SetRegistryWord3264)>(p, HKEY_CURRENT_USER, key, "w", DWORD{7}, 0);
         }},
        {"GetADSIStatus", [](FARPROC p) { return StackDrift<decltype(&GetADSIStatus)>(p); }},
        {"IIS_CheckNetFilters",
         [](FARPROC p) { return StackDrift<decltype(&IIS_CheckNetFilters)>(p, "2.0"); }},
        {"CheckForASPNETISAPI", [](FARPROC p) { return StackDrift<decltype(&CheckForASPNETISAPI)>(p); }},
        {"InitMAPIDir",
         [&](FARPROC p) { return StackDrift<decltype(&InitMAPIDir)>(p, buffer, DWORD{sizeof buffer}); }},
        {"MSI_SetMAPIProperties",
         [](FARPROC p) { return StackDrift<decltype(&MSI_SetMAPIProperties)>(p, MSIHANDLE{0}); }},
        {"CreateProfile",
         [](FARPROC p) {
             return StackDrift<decltype(&CreateProfile)>(p, "cc-profile", "1", "2", "3", "4", LONG{5}, "6",
                                                          "7", "8");
         }},
        {"ProfileExists",
         [&](FARPROC p) { return StackDrift<decltype(&ProfileExists)>(p, "cc-profile", &exists); }},
    };
    for (const auto& c : calls) {
        FARPROC p = GetProcAddress(lib, c.name);
        if (!p) {
            ADD_FAILURE() << c.name << " is not exported under its plain name";
            continue;
        }
        EXPECT_EQ(c.drift(p), 0) << c.name;
    }
    RegDeleteKeyA(HKEY_CURRENT_USER, key);
    FreeLibrary(lib);
}

}  // namespace
