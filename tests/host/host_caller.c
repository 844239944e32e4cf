/* A host process as setups are: C only, loading CVINSTALLER.dll by its full
 * path and calling exports through GetProcAddress.
 *
 *   host_caller every DLL
 *       calls every export once, with arguments that change nothing of note
 *   host_caller bare -
 *       loads MAPI32, activeds and msi by their bare names, as a load-time
 *       import would: the control that shows a planted copy would be taken
 *   host_caller runtime-before|runtime-after|runtime-none DLL RUNTIME-FOLDER
 *       loads MinGW's shared C++ runtime from RUNTIME-FOLDER before the DLL,
 *       after it, or not at all, then calls the two exports whose failures
 *       travel as exceptions inside the library
 *
 * Exit code 0 when every call answered as it should; 10 + the step that did
 * not; 2 for a usage error or a library that would not load. */
#include <stdio.h>
#include <string.h>

#include "cvinstaller.h"

#define BIND(fn) ((fn##_t)(void*)GetProcAddress(dll, #fn))

typedef LONG(WINAPI* GetTimeAsLong_t)(void);
typedef int(WINAPI* KillProcessByFileName_t)(const char*);
typedef int(WINAPI* RegistryKeyExists_t)(const char*);
typedef LONG(WINAPI* CreateEmptyKey3264_t)(HKEY, const char*, const char*, int);
typedef LONG(WINAPI* SetRegistryString3264_t)(HKEY, const char*, const char*, const char*, int);
typedef int(WINAPI* SetRegistryWord3264_t)(HKEY, const char*, const char*, DWORD, int);
typedef int(WINAPI* GetADSIStatus_t)(void);
typedef int(WINAPI* IIS_CheckNetFilters_t)(const char*);
typedef int(WINAPI* CheckForASPNETISAPI_t)(void);
typedef void(WINAPI* InitMAPIDir_t)(char*, DWORD);
typedef UINT(WINAPI* MSI_SetMAPIProperties_t)(MSIHANDLE);
typedef int(WINAPI* CreateProfile_t)(const char*, const char*, const char*, const char*, const char*, LONG,
                                     const char*, const char*, const char*);
typedef int(WINAPI* ProfileExists_t)(const char*, int*);

#ifdef _WIN64
#define UNWINDER_DLL "libgcc_s_seh-1.dll"
#else
#define UNWINDER_DLL "libgcc_s_dw2-1.dll"
#endif

static HMODULE LoadRuntime(const char* folder) {
    char path[MAX_PATH];
    HMODULE gcc, cxx;
    snprintf(path, sizeof path, "%s\\" UNWINDER_DLL, folder);
    /* Their own dependencies come from the same folder. */
    gcc = LoadLibraryExA(path, NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
    snprintf(path, sizeof path, "%s\\libstdc++-6.dll", folder);
    cxx = LoadLibraryExA(path, NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
    return gcc && cxx ? cxx : NULL;
}

/* No mail client answers in these processes: both calls fail inside the
 * library, raise, and must come back as 0 with the host alive. */
static int ExceptionRoundTrip(HMODULE dll) {
    CreateProfile_t CreateProfile = BIND(CreateProfile);
    ProfileExists_t ProfileExists = BIND(ProfileExists);
    int exists = 7, round;
    if (!CreateProfile || !ProfileExists) return 2;
    for (round = 0; round < 3; ++round) {
        if (ProfileExists("host-runtime-check", &exists) != 0 || exists != 7) return 11;
        if (CreateProfile("host-runtime-check", "1", "2", "3", "4", 5, "6", "7", "8") != 0) return 12;
    }
    return 0;
}

static int EveryExport(HMODULE dll) {
    char folder[MAX_PATH] = "";
    int exists = 7;
    const char* key = "Software\\CVI Tests\\host caller";
    if (!BIND(GetTimeAsLong)()) return 11;
    if (BIND(KillProcessByFileName)("no-such-program-7c2e.exe") != 1) return 12;
    if (BIND(RegistryKeyExists)("SOFTWARE") != 1) return 13;
    if (BIND(CreateEmptyKey3264)(HKEY_CURRENT_USER, key, NULL, 0) != 0) return 14;
    if (BIND(SetRegistryString3264)(HKEY_CURRENT_USER, key, "text", "value", 0) != 0) return 15;
    if (BIND(SetRegistryWord3264)(HKEY_CURRENT_USER, key, "word", 1, 0) != 1) return 16;
    RegDeleteKeyA(HKEY_CURRENT_USER, key);
    BIND(GetADSIStatus)();
    BIND(IIS_CheckNetFilters)(NULL);
    BIND(CheckForASPNETISAPI)();
    BIND(InitMAPIDir)(folder, sizeof folder);
    if (!strstr(folder, "MAPISVC.INF")) return 17;
    BIND(MSI_SetMAPIProperties)(0);
    BIND(CreateProfile)("host-caller", "1", "2", "3", "4", 5, "6", "7", "8");
    BIND(ProfileExists)("host-caller", &exists);
    return 0;
}

int main(int argc, char** argv) {
    HMODULE dll, runtime = NULL; /* the runtime stays loaded to the end */
    int result;
    if (argc < 3) return 2;
    if (!strcmp(argv[1], "bare")) {
        return LoadLibraryA("MAPI32.dll") && LoadLibraryA("activeds.dll") && LoadLibraryA("msi.dll") ? 0 : 11;
    }
    if (!strcmp(argv[1], "runtime-before")) {
        if (argc < 4 || !(runtime = LoadRuntime(argv[3]))) return 2;
    }
    dll = LoadLibraryA(argv[2]);
    if (!dll) return 2;
    if (!strcmp(argv[1], "runtime-after")) {
        if (argc < 4 || !(runtime = LoadRuntime(argv[3]))) return 2;
    }
    if (!strcmp(argv[1], "every")) {
        result = EveryExport(dll);
    } else {
        result = ExceptionRoundTrip(dll);
    }
    FreeLibrary(dll);
    printf("%s: %d\n", argv[1], result);
    return result;
}
