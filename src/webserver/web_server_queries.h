// Questions about the local web server, the ASP.NET account, group
// membership and the product's web applications. Part of the shared code;
// not exported.
#pragma once

#include <windows.h>

namespace cvi {

// Reads a value of at most 4 bytes below HKEY_LOCAL_MACHINE, in the calling
// process's registry view, into *result. 1: read; 0: empty path, no key, no
// value or longer data, and *result untouched. The type is not checked;
// bytes the data does not cover read as 0.
int GetRegistryDword(const char* subKey, const char* valueName, DWORD* result);

// Copies the computer's name into `destination` of `size` bytes. 1: the
// system gave the name; 0: it did not, or the name does not fit, and the
// destination holds the empty text (when it has room for it).
int GetLocalComputerName(char* destination, DWORD size);

// 1 when the directory service's parameters key is present, else 0.
int IsDomainController();

// The installed IIS's recorded major version, or 5 when none is recorded.
int GetIISMajorVersion();

// The account ASP.NET applications run under, into `destination`:
// 2: "IWAM_" and the computer name (IIS 5 on a domain controller);
// 1: "ASPNET"; 0: the text does not fit, the destination holds the empty
// text (when it has room for it).
int GetAspNetAccountName(char* destination, DWORD size);

// Whether `user` of `computer` (null: this computer) belongs to `group`,
// compared by the group's bare name in any letter case. Needs COM initialised
// on the calling thread. 1: member; 0: not a member, the user is not bound,
// or an input too long to address exactly; -1: the groups could not be listed.
int IsUserInGroup(const char* computer, const char* user, const char* group);

// Whether `path` lies in a Bin folder of the web administration (`kind`
// "Admin" in any letter case) or of the web mail application (any other
// kind). 1: yes; 0: no, or a path too long to examine whole.
int IsWebApplicationPath(const wchar_t* path, const wchar_t* kind);

// The web service's process model: 5 (IIS 5.0 isolation), 6 (worker process
// isolation), or 0 when it cannot be told.
int GetWebServiceMode();

}  // namespace cvi
