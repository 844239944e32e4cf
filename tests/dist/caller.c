/* A setup program's view: only the public header and the import library.
 * Every export is referenced, so each decorated import must resolve to the
 * DLL's plain name when the program loads. */
#include <stdio.h>
#include <string.h>

#include "cvinstaller.h"

int main(int argc, char** argv) {
    char dir[MAX_PATH];
    int exists = -1;
    LONG now = GetTimeAsLong();
    int walked = KillProcessByFileName("no-such-program-4d1c.exe");
    int hklm = RegistryKeyExists("");
    (void)argv;
    InitMAPIDir(dir, sizeof dir);
    printf("GetTimeAsLong=%ld KillProcessByFileName=%d RegistryKeyExists=%d InitMAPIDir=%s\n", now, walked, hklm,
           dir);
    if (argc > 1) { /* referenced, not run: they change or ask the machine */
        CreateEmptyKey3264(HKEY_CURRENT_USER, "x", NULL, 0);
        SetRegistryString3264(HKEY_CURRENT_USER, "x", "n", "v", 0);
        SetRegistryWord3264(HKEY_CURRENT_USER, "x", "n", 1, 0);
        GetADSIStatus();
        IIS_CheckNetFilters(NULL);
        CheckForASPNETISAPI();
        MSI_SetMAPIProperties(0);
        CreateProfile("p", "1", "2", "3", "4", 5, "6", "7", "8");
        ProfileExists("p", &exists);
    }
    return (now > 0 && walked == 1 && hklm == 1 && strstr(dir, "MAPISVC.INF")) ? 0 : 1;
}
