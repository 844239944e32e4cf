// Entry points of the stand-in directory provider: COM's, self-registration
// under the "IIS" and "WinNT" provider names, and the counters tests read.
#include <windows.h>
#include <objbase.h>

#include <string>

#include "directory_objects.h"

namespace {

const wchar_t kProgId[] = L"CVITests.DirectoryNamespace";
const wchar_t kProviders[] = L"Software\\Microsoft\\ADs\\Providers";
HMODULE g_module = nullptr;

std::wstring ClsidText() {
    wchar_t text[64] = {};
    StringFromGUID2(adsi_stand_in::kNamespaceClsid, text, 64);
    return text;
}

bool SetText(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    HKEY k = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr)) return false;
    const LONG rc = RegSetValueExW(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(k);
    return rc == ERROR_SUCCESS;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) g_module = instance;
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* out) {
    if (!IsEqualCLSID(clsid, adsi_stand_in::kNamespaceClsid)) return CLASS_E_CLASSNOTAVAILABLE;
    IUnknown* factory = adsi_stand_in::NewFactory();
    const HRESULT hr = factory->QueryInterface(riid, out);
    factory->Release();
    return hr;
}

STDAPI DllCanUnloadNow() { return adsi_stand_in::LiveObjects() == 0 ? S_OK : S_FALSE; }

STDAPI DllRegisterServer() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(g_module, path, MAX_PATH);
    const std::wstring clsidKey = L"Software\\Classes\\CLSID\\" + ClsidText();
    const bool ok = SetText(clsidKey, nullptr, L"CVINSTALLER test directory namespace") &&
                    SetText(clsidKey + L"\\InprocServer32", nullptr, path) &&
                    SetText(clsidKey + L"\\InprocServer32", L"ThreadingModel", L"Both") &&
                    SetText(clsidKey + L"\\ProgID", nullptr, kProgId) &&
                    SetText(std::wstring(L"Software\\Classes\\") + kProgId + L"\\CLSID", nullptr, ClsidText()) &&
                    SetText(std::wstring(kProviders) + L"\\IIS", nullptr, kProgId) &&
                    SetText(std::wstring(kProviders) + L"\\WinNT", nullptr, kProgId);
    return ok ? S_OK : E_FAIL;
}

STDAPI DllUnregisterServer() {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, (std::wstring(kProviders) + L"\\IIS").c_str());
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, (std::wstring(kProviders) + L"\\WinNT").c_str());
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, (std::wstring(L"Software\\Classes\\") + kProgId).c_str());
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, (L"Software\\Classes\\CLSID\\" + ClsidText()).c_str());
    return S_OK;
}

extern "C" LONG WINAPI AdsiStandInLiveObjects() { return adsi_stand_in::LiveObjects(); }

extern "C" void WINAPI AdsiStandInLastPath(wchar_t* buffer, int size) {
    lstrcpynW(buffer, adsi_stand_in::LastPath(), size);
}

extern "C" void WINAPI AdsiStandInForgetPath() { adsi_stand_in::ForgetPath(); }
