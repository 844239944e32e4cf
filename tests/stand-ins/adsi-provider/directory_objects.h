// The stand-in directory's COM objects.
#pragma once

#include <windows.h>
#include <unknwn.h>

namespace adsi_stand_in {

// Objects alive now, of every kind (factory and namespace included).
LONG LiveObjects();
// The path of the latest OpenDSObject call.
const wchar_t* LastPath();
void ForgetPath();

// The class factory of the namespace object, with one reference.
IUnknown* NewFactory();

extern const CLSID kNamespaceClsid;

}  // namespace adsi_stand_in
