/*
 * CVINSTALLER.dll: system work for the mail server's setup.
 *
 * Every function uses the Windows standard calling convention (WINAPI) and
 * is exported under its plain name. Texts are NUL-terminated narrow strings
 * in the system's ANSI code page. No function hands out memory to free.
 *
 * One header serves both flavours of the DLL: x86 (dist/) and x86-64
 * (dist/x64/), each loadable only into a process of its own bitness.
 */
#ifndef CVINSTALLER_H
#define CVINSTALLER_H

#include <windows.h>
#include <msi.h>

#ifdef __cplusplus
extern "C" {
#endif

/* --- Frame --------------------------------------------------------------- */

/* Seconds since 1970-01-01 00:00:00 UTC, low 32 bits as a signed number. */
LONG WINAPI GetTimeAsLong(void);

/* --- Processes ----------------------------------------------------------- */

/* Terminates every other process whose executable name contains namePart
 * (case-insensitive) and waits up to about 10 s for each to end.
 * 1: the process list was walked (whether or not anything matched);
 * 0: it was not walked (Windows NT 4.0 or earlier, or no process snapshot). */
int WINAPI KillProcessByFileName(const char* namePart);

/* --- Registry ------------------------------------------------------------ */

/* "The caller's view" is the view of the calling process's bitness: the
 * 32-bit view (Wow6432Node) for the x86 DLL, the 64-bit view for the x86-64
 * DLL. In a 64-bit process the caller's view already is the 64-bit view, so
 * use64BitView changes nothing there. */

/* 1: HKEY_LOCAL_MACHINE\subKey opens for querying in the caller's view; 0: not. */
int WINAPI RegistryKeyExists(const char* subKey);

/* Creates root\subKey (and missing parents); stores defaultValue as its default
 * REG_SZ value unless it is null. use64BitView != 0 selects the 64-bit view.
 * 0 (ERROR_SUCCESS) or a Windows error code. */
LONG WINAPI CreateEmptyKey3264(HKEY root, const char* subKey, const char* defaultValue,
                               int use64BitView);

/* Creates root\subKey and stores data as the REG_SZ value valueName (null:
 * the default value); nothing is written when data is null.
 * 0 (ERROR_SUCCESS) or a Windows error code. */
LONG WINAPI SetRegistryString3264(HKEY root, const char* subKey, const char* valueName,
                                  const char* data, int use64BitView);

/* Creates root\subKey and stores value as the REG_DWORD valueName.
 * 1: written; 0: failed. */
int WINAPI SetRegistryWord3264(HKEY root, const char* subKey, const char* valueName,
                               DWORD value, int use64BitView);

/* --- Web server ---------------------------------------------------------- */

/* activeds.dll (and, for the profile functions below, MAPI32.dll) is bound
 * from the system folder for the length of each call; where it cannot be,
 * a function gives its failure result. */

/* 1: the IIS web service object binds through ADSI; 0: it does not. */
int WINAPI GetADSIStatus(void);

/* 0: no ASP.NET filter registered; 1: ASP.NET filter present, not the requested
 * version; 2: present (and of the requested version, if one was given);
 * 3: the filter list could not be read. version may be null. */
int WINAPI IIS_CheckNetFilters(const char* version);

/* 1: some .NET Framework folder holds aspnet_isapi.dll; 0: none does. */
int WINAPI CheckForASPNETISAPI(void);

/* --- MAPI folder --------------------------------------------------------- */

/* Fills buffer with the path of MAPISVC.INF in the MAPI folder (the system
 * folder when MAPI names none); an empty string on failure. */
void WINAPI InitMAPIDir(char* buffer, DWORD size);

/* Custom action: sets the property CV_MAPICOMMONFILESPATH to the MAPI folder.
 * 0: set; 2: no folder could be determined, or the system's msi.dll could
 * not be bound. */
UINT WINAPI MSI_SetMAPIProperties(MSIHANDLE hInstall);

/* --- MAPI profiles ------------------------------------------------------- */

/* Creates profileName holding the VAVA message service configured with the
 * eight values. 1: created and configured; 0: failed. */
int WINAPI CreateProfile(const char* profileName, const char* value1, const char* value2,
                         const char* value3, const char* value4, LONG value5,
                         const char* value6, const char* value7, const char* value8);

/* 1: answered, *exists is 1 (a profile of that name exists) or 0;
 * 0: failed, *exists untouched. */
int WINAPI ProfileExists(const char* profileName, int* exists);

#ifdef __cplusplus
}
#endif

#endif /* CVINSTALLER_H */
