// What the stand-in directory answers comes from the test-set key
// HKCU\Software\CVINSTALLER-tests\adsi, read afresh on every call:
//   OpenResult (DWORD)         every binding fails with this HRESULT
//   W3SVC\NoWebService (DWORD) the web service object offers no IISWebService
//   W3SVC\Mode (DWORD)         GetCurrentMode answers S_OK and VT_I4 Mode
//   W3SVC\ModeResult (DWORD)   GetCurrentMode returns this instead of S_OK
//   Filters\FilterLoadOrder    REG_SZ: a VT_BSTR; REG_DWORD: a VT_I4
//   Filters\GetResult (DWORD)  Get returns this (with the value) instead of S_OK
//   WinNT\<computer>\<user>    the user exists; its value Groups (REG_MULTI_SZ)
//                              lists its groups, where "<no-iads>",
//                              "<no-name>", "<empty>" and "<fail>" stand for
//                              broken elements; Fail (REG_SZ) "Groups",
//                              "NewEnum" or "Enumerator" names a failing step.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace adsi_stand_in {

extern const wchar_t kSettingsKey[];

bool ReadDword(const std::wstring& subKey, const wchar_t* name, DWORD* value);
// The value's registry type and its data; false when it is absent.
bool ReadValue(const std::wstring& subKey, const wchar_t* name, DWORD* type, std::vector<BYTE>* data);
bool ReadString(const std::wstring& subKey, const wchar_t* name, std::wstring* value);
std::vector<std::wstring> ReadStrings(const std::wstring& subKey, const wchar_t* name);
bool KeyExists(const std::wstring& subKey);

}  // namespace adsi_stand_in
