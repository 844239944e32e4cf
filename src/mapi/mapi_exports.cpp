#include <windows.h>
#include <msi.h>
#include <msiquery.h>

#include "cvinstaller.h"
#include "mapi/mapi_directory.h"

namespace {

constexpr char kFolderProperty[] = "CV_MAPICOMMONFILESPATH";
constexpr UINT kNoFolder = 2;
constexpr DWORD kFolderCapacity = MAX_PATH;

}  // namespace

extern "C" void WINAPI InitMAPIDir(char* buffer, DWORD size) {
    cvi::GetMAPIDirectory(buffer, size, true);
}

extern "C" UINT WINAPI MSI_SetMAPIProperties(MSIHANDLE hInstall) {
    char folder[kFolderCapacity] = {};
    cvi::GetMAPIDirectory(folder, kFolderCapacity, false);
    if (folder[0] == '\0') return kNoFolder;
    // The installer's own failure to store it is not ours to report.
    ::MsiSetPropertyA(hInstall, kFolderProperty, folder);
    return 0;
}
