/* A library planted beside a host under a system library's name. If the
 * loader ever takes it, it leaves a mark file named after itself in its own
 * folder, which the test looks for. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    char path[MAX_PATH + 16];
    DWORD n;
    HANDLE mark;
    (void)reserved;
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    n = GetModuleFileNameA(instance, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return TRUE;
    lstrcatA(path, ".ran");
    mark = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (mark != INVALID_HANDLE_VALUE) CloseHandle(mark);
    return TRUE;
}
