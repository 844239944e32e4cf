/* A Visual Studio project's view of the library: the public header and
 * dist/CVINSTALLER.lib, compiled and linked the way MSVC does it, without a
 * C runtime. Each export is called once; a stdcall callee pops its own
 * arguments, so a wrong argument size shows as a moved stack pointer. The
 * exit code has bit i set when call i moved the stack or answered wrongly,
 * and each fault is also named on standard output. */
#include "cvinstaller.h"

#define TEST_KEY "Software\\CVINSTALLER-tests\\msvc-caller"

static unsigned failures;
static unsigned call_index;

static void say(const char* text) {
    DWORD written;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text, (DWORD)lstrlenA(text), &written, NULL);
}

static void check(const char* name, int moved, int answered_right) {
    if (moved) say(name), say(": the stack pointer moved across the call\r\n");
    if (!answered_right) say(name), say(": wrong result\r\n");
    if (moved || !answered_right) failures |= 1u << call_index;
    ++call_index;
}

/* The stack pointer just before and just after the call, read around it.
 * x86-64 has no callee-popped arguments: there only the answers are checked. */
#ifdef _WIN64
#define SP(v) ((v) = 0)
#else
#define SP(v) __asm__ volatile("movl %%esp, %0" : "=r"(v) : : "memory")
#endif
#define CALL(result, expr)                    \
    do {                                      \
        SP(before);                           \
        result = (expr);                      \
        SP(after);                            \
    } while (0)
#define CALL_VOID(expr)                       \
    do {                                      \
        SP(before);                           \
        expr;                                 \
        SP(after);                            \
    } while (0)

static int ends_with(const char* text, const char* tail) {
    int n = lstrlenA(text), m = lstrlenA(tail);
    return n >= m && lstrcmpiA(text + n - m, tail) == 0;
}

void __stdcall start(void) {
    unsigned before, after;
    LONG l;
    int i;
    UINT u;
    char dir[MAX_PATH];
    int exists = -1;
    DWORD word = 0, size = sizeof word;
    char text[16];

    CALL(l, GetTimeAsLong());
    check("GetTimeAsLong", before != after, l > 1600000000);
    CALL(i, KillProcessByFileName("no-such-program-msvc.exe"));
    check("KillProcessByFileName", before != after, i == 1);
    CALL(i, RegistryKeyExists("SOFTWARE"));
    check("RegistryKeyExists", before != after, i == 1);
    CALL(l, CreateEmptyKey3264(HKEY_CURRENT_USER, TEST_KEY, "default", 0));
    check("CreateEmptyKey3264", before != after, l == ERROR_SUCCESS);
    CALL(l, SetRegistryString3264(HKEY_CURRENT_USER, TEST_KEY, "Text", "written", 0));
    size = sizeof text;
    check("SetRegistryString3264", before != after,
          l == ERROR_SUCCESS &&
              RegGetValueA(HKEY_CURRENT_USER, TEST_KEY, "Text", RRF_RT_REG_SZ, NULL, text, &size) == 0 &&
              lstrcmpA(text, "written") == 0);
    CALL(i, SetRegistryWord3264(HKEY_CURRENT_USER, TEST_KEY, "Word", 0x1234, 0));
    size = sizeof word;
    check("SetRegistryWord3264", before != after,
          i == 1 && RegGetValueA(HKEY_CURRENT_USER, TEST_KEY, "Word", RRF_RT_REG_DWORD, NULL, &word, &size) == 0 &&
              word == 0x1234);
    RegDeleteTreeA(HKEY_CURRENT_USER, TEST_KEY);
    /* No directory or MAPI stand-in is registered for this program: what
     * matters here is that each call returns, in range, with the stack intact. */
    CALL(i, GetADSIStatus());
    check("GetADSIStatus", before != after, i == 0 || i == 1);
    CALL(i, IIS_CheckNetFilters("v2.0.50727"));
    check("IIS_CheckNetFilters", before != after, i >= 0 && i <= 3);
    CALL(i, CheckForASPNETISAPI());
    check("CheckForASPNETISAPI", before != after, i == 0 || i == 1);
    dir[0] = '\0';
    CALL_VOID(InitMAPIDir(dir, sizeof dir));
    check("InitMAPIDir", before != after, ends_with(dir, "\\MAPISVC.INF"));
    CALL(u, MSI_SetMAPIProperties(0));
    check("MSI_SetMAPIProperties", before != after, u == 0);
    CALL(i, CreateProfile(NULL, "1", "2", "3", "4", 5, "6", "7", "8"));
    check("CreateProfile", before != after, i == 0);
    CALL(i, ProfileExists(NULL, &exists));
    check("ProfileExists", before != after, i == 0 && exists == -1);

    if (!failures) say("all 13 exports called through the MSVC-style import library\r\n");
    ExitProcess(failures);
}
