// The ADSI interfaces the web-server code talks to, with their identifiers.
// The identifiers are defined here because the SDK's import libraries for
// these interfaces are not linked (IID_IISWebService is defined in none).
#pragma once

#include <windows.h>
#include <oaidl.h>
#include <iads.h>
#include <adshlp.h>
#include <iiisext.h>
#include <oleauto.h>

#include "frame/unique_resource.h"

namespace cvi {

extern const IID kIID_IADs;          // {FD8256D0-FD15-11CE-ABC4-02608C9E7553}
extern const IID kIID_IADsUser;      // {3E37E320-17E2-11CF-ABC4-02608C9E7553}
extern const IID kIID_IEnumVARIANT;  // {00020404-0000-0000-C000-000000000046}
extern const IID kIID_IISWebService; // {EE46D40C-1B38-4A02-898D-358E74DFC9D2}

// ADsPath of the local IIS web service.
extern const wchar_t kWebServicePath[];

struct bstr_traits {
    using type = BSTR;
    static type invalid() noexcept { return nullptr; }
    static void close(type s) noexcept { ::SysFreeString(s); }
};
using unique_bstr = unique_any<bstr_traits>;

// A VARIANT cleared when the scope ends.
class unique_variant {
public:
    unique_variant() noexcept { ::VariantInit(&value_); }
    ~unique_variant() { ::VariantClear(&value_); }
    unique_variant(const unique_variant&) = delete;
    unique_variant& operator=(const unique_variant&) = delete;

    VARIANT* get() noexcept { return &value_; }
    void clear() noexcept { ::VariantClear(&value_); }

private:
    VARIANT value_;
};

}  // namespace cvi
