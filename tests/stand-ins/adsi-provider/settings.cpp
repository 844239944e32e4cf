#include "settings.h"

namespace adsi_stand_in {

const wchar_t kSettingsKey[] = L"Software\\CVINSTALLER-tests\\adsi";

namespace {
std::wstring Full(const std::wstring& subKey) {
    return subKey.empty() ? std::wstring(kSettingsKey) : std::wstring(kSettingsKey) + L"\\" + subKey;
}
}  // namespace

bool KeyExists(const std::wstring& subKey) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Full(subKey).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

bool ReadValue(const std::wstring& subKey, const wchar_t* name, DWORD* type, std::vector<BYTE>* data) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Full(subKey).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    DWORD size = 0;
    LONG rc = RegQueryValueExW(key, name, nullptr, type, nullptr, &size);
    if (rc == ERROR_SUCCESS) {
        data->assign(size + sizeof(wchar_t) * 2, 0);
        rc = RegQueryValueExW(key, name, nullptr, type, data->data(), &size);
    }
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

bool ReadDword(const std::wstring& subKey, const wchar_t* name, DWORD* value) {
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!ReadValue(subKey, name, &type, &data) || type != REG_DWORD) return false;
    *value = *reinterpret_cast<const DWORD*>(data.data());
    return true;
}

bool ReadString(const std::wstring& subKey, const wchar_t* name, std::wstring* value) {
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!ReadValue(subKey, name, &type, &data) || type != REG_SZ) return false;
    *value = reinterpret_cast<const wchar_t*>(data.data());
    return true;
}

std::vector<std::wstring> ReadStrings(const std::wstring& subKey, const wchar_t* name) {
    std::vector<std::wstring> out;
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!ReadValue(subKey, name, &type, &data) || type != REG_MULTI_SZ) return out;
    for (const wchar_t* p = reinterpret_cast<const wchar_t*>(data.data()); *p; p += wcslen(p) + 1) {
        out.emplace_back(p);
    }
    return out;
}

}  // namespace adsi_stand_in
