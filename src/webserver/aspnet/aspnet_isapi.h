// Whether an installed .NET Framework carries the ASP.NET ISAPI extension.
#pragma once

namespace cvi {

// 1: a version folder ("v*") of the framework folder ("Framework" or
// "Framework64") below <Windows>\Microsoft.NET holds "aspnet_isapi.dll";
// 0: none does. A path too long for the check's buffers counts as absent.
int ScanFrameworkForASPNETISAPI(const char* frameworkFolder);

// 1: FindFirstFileA finds anything for `path` (file, folder or wildcard
// match); 0: nothing.
int PathExists(const char* path);

}  // namespace cvi
