#include <windows.h>
#include <msi.h>
#include <msiquery.h>

#include "cvinstaller.h"
#include "frame/system_library.h"
#include "mapi/mapi_directory.h"

namespace {

constexpr char kFolderProperty[] = "CV_MAPICOMMONFILESPATH";
constexpr UINT kNoFolder = 2;
constexpr DWORD kFolderCapacity = MAX_PATH;
constexpr WORD kMsiSetPropertyA = 144;

using MsiSetPropertyFn = UINT(WINAPI*)(MSIHANDLE install, LPCSTR name, LPCSTR value);

}  // namespace

extern "C" void WINAPI InitMAPIDir(char* buffer, DWORD size) {
    cvi::GetMAPIDirectory(buffer, size, true);
}

extern "C" UINT WINAPI MSI_SetMAPIProperties(MSIHANDLE hInstall) {
    // Without the installer's entry point no folder can be handed over, so
    // that is the one failure result this action has.
    const cvi::unique_module msi = cvi::LoadSystemLibrary("msi.dll");
    const auto setProperty = cvi::EntryPointByOrdinal<MsiSetPropertyFn>(msi.get(), kMsiSetPropertyA);
    if (!setProperty) return kNoFolder;

    char folder[kFolderCapacity] = {};
    cvi::GetMAPIDirectory(folder, kFolderCapacity, false);
    if (folder[0] == '\0') return kNoFolder;
    // The installer's own failure to store it is not ours to report.
    setProperty(hInstall, kFolderProperty, folder);
    return 0;
}
