#include "adsi_test_set.h"

#include "support/test_support.h"

namespace cvi_test {
namespace {
const wchar_t kKey[] = L"Software\\CVINSTALLER-tests\\adsi";

std::wstring Full(const std::wstring& subKey) {
    return subKey.empty() ? std::wstring(kKey) : std::wstring(kKey) + L"\\" + subKey;
}

void Set(const std::wstring& subKey, const wchar_t* name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, Full(subKey).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    RegCloseKey(key);
}
}  // namespace

AdsiTestSet::AdsiTestSet() {
    Clear();
    // Held by the test as well, so the counters outlive COM's own unloading.
    provider_ = LoadLibraryA((BinDir() + "\\adsi_provider.dll").c_str());
    if (provider_) {
        live_ = reinterpret_cast<LONG(WINAPI*)()>(
            reinterpret_cast<void*>(GetProcAddress(provider_, "AdsiStandInLiveObjects")));
        lastPath_ = reinterpret_cast<void(WINAPI*)(wchar_t*, int)>(
            reinterpret_cast<void*>(GetProcAddress(provider_, "AdsiStandInLastPath")));
        auto forget = reinterpret_cast<void(WINAPI*)()>(
            reinterpret_cast<void*>(GetProcAddress(provider_, "AdsiStandInForgetPath")));
        if (forget) forget();
    }
}

AdsiTestSet::~AdsiTestSet() {
    Clear();
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\CVINSTALLER-tests");  // only once nothing else is below it
    if (provider_) FreeLibrary(provider_);
}

void AdsiTestSet::Clear() { RegDeleteTreeW(HKEY_CURRENT_USER, kKey); }

void AdsiTestSet::SetDword(const std::wstring& subKey, const wchar_t* name, DWORD value) {
    Set(subKey, name, REG_DWORD, &value, sizeof value);
}

void AdsiTestSet::SetString(const std::wstring& subKey, const wchar_t* name, const std::wstring& value) {
    Set(subKey, name, REG_SZ, value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

void AdsiTestSet::SetStrings(const std::wstring& subKey, const wchar_t* name,
                             const std::vector<std::wstring>& values) {
    std::wstring block;
    for (const auto& v : values) block += v + L'\0';
    block += L'\0';
    Set(subKey, name, REG_MULTI_SZ, block.data(), static_cast<DWORD>(block.size() * sizeof(wchar_t)));
}

void AdsiTestSet::AddUser(const std::wstring& computer, const std::wstring& user,
                          const std::vector<std::wstring>& groups) {
    SetStrings(L"WinNT\\" + computer + L"\\" + user, L"Groups", groups);
}

std::wstring AdsiTestSet::LastPath() const {
    wchar_t buffer[1100] = {};
    if (lastPath_) lastPath_(buffer, 1100);
    return buffer;
}

}  // namespace cvi_test
