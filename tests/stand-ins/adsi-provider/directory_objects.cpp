#include "directory_objects.h"

#include <oaidl.h>
#include <ocidl.h>
#include <iads.h>
#include <iiisext.h>
#include <adserr.h>

#include <string>
#include <vector>

#include "interface_stubs.h"
#include "settings.h"

// Declared by the SDK header, defined in none of its libraries.
extern "C" const IID IID_IISWebService = {0xEE46D40C, 0x1B38, 0x4A02,
                                          {0x89, 0x8D, 0x35, 0x8E, 0x74, 0xDF, 0xC9, 0xD2}};

namespace adsi_stand_in {

const CLSID kNamespaceClsid = {0x6A0D4C1E, 0x3B7F, 0x4E52, {0x9C, 0x1A, 0x5D, 0x2E, 0x8F, 0x4B, 0x7A, 0x31}};

namespace {

LONG g_live = 0;
wchar_t g_lastPath[1100] = L"";

// Reference counting and QueryInterface for a single-inheritance chain of
// interfaces: every interface of the chain starts at `this`.
template <typename Base>
class Object : public Base {
public:
    Object() { InterlockedIncrement(&g_live); }
    virtual ~Object() { InterlockedDecrement(&g_live); }

    HRESULT WINAPI QueryInterface(REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (!IsEqualIID(riid, IID_IUnknown) && !Offers(riid)) return E_NOINTERFACE;
        *out = static_cast<Base*>(this);
        this->AddRef();
        return S_OK;
    }
    ULONG WINAPI AddRef() override { return InterlockedIncrement(&refs_); }
    ULONG WINAPI Release() override {
        const LONG left = InterlockedDecrement(&refs_);
        if (left == 0) delete this;
        return left;
    }

protected:
    virtual bool Offers(REFIID riid) const = 0;

private:
    LONG refs_ = 1;
};

BSTR Bstr(const std::wstring& s) { return SysAllocStringLen(s.data(), static_cast<UINT>(s.size())); }

class Group final : public Object<AdsStubs<IADs>> {
public:
    explicit Group(std::wstring name) : name_(std::move(name)) {}
    HRESULT WINAPI get_Name(BSTR* out) override {
        if (name_ == L"<no-name>") return E_FAIL;
        *out = Bstr(name_);
        return S_OK;
    }

protected:
    bool Offers(REFIID riid) const override {
        if (IsEqualIID(riid, IID_IDispatch)) return true;
        return IsEqualIID(riid, IID_IADs) && name_ != L"<no-iads>";
    }

private:
    std::wstring name_;
};

class GroupEnumerator final : public Object<IEnumVARIANT> {
public:
    explicit GroupEnumerator(std::vector<std::wstring> names) : names_(std::move(names)) {}
    HRESULT WINAPI Next(ULONG count, VARIANT* items, ULONG* fetched) override {
        if (fetched) *fetched = 0;
        if (count != 1) return E_INVALIDARG;
        if (next_ >= names_.size()) return S_FALSE;
        const std::wstring& name = names_[next_++];
        if (name == L"<fail>") return E_FAIL;
        VariantInit(items);
        if (name != L"<empty>") {
            V_VT(items) = VT_DISPATCH;
            V_DISPATCH(items) = new Group(name);
        }
        if (fetched) *fetched = 1;
        return S_OK;
    }
    HRESULT WINAPI Skip(ULONG) override { return E_NOTIMPL; }
    HRESULT WINAPI Reset() override {
        next_ = 0;
        return S_OK;
    }
    HRESULT WINAPI Clone(IEnumVARIANT**) override { return E_NOTIMPL; }

protected:
    bool Offers(REFIID riid) const override { return IsEqualIID(riid, IID_IEnumVARIANT); }

private:
    std::vector<std::wstring> names_;
    std::size_t next_ = 0;
};

// The enumerator as get__NewEnum hands it out; it offers IEnumVARIANT only
// when the test set lets it.
class EnumeratorObject final : public Object<IUnknown> {
public:
    EnumeratorObject(std::vector<std::wstring> names, bool offersEnum)
        : names_(std::move(names)), offersEnum_(offersEnum) {}
    HRESULT WINAPI QueryInterface(REFIID riid, void** out) override {
        if (offersEnum_ && out && IsEqualIID(riid, IID_IEnumVARIANT)) {
            *out = static_cast<IEnumVARIANT*>(new GroupEnumerator(names_));
            return S_OK;
        }
        return Object<IUnknown>::QueryInterface(riid, out);
    }

protected:
    bool Offers(REFIID) const override { return false; }

private:
    std::vector<std::wstring> names_;
    bool offersEnum_;
};

class Members final : public Object<DispatchStubs<IADsMembers>> {
public:
    explicit Members(std::wstring userKey) : userKey_(std::move(userKey)) {}
    HRESULT WINAPI get_Count(LONG*) override { return E_NOTIMPL; }
    HRESULT WINAPI get__NewEnum(IUnknown** out) override {
        std::wstring fail;
        ReadString(userKey_, L"Fail", &fail);
        if (fail == L"NewEnum") return E_FAIL;
        *out = new EnumeratorObject(ReadStrings(userKey_, L"Groups"), fail != L"Enumerator");
        return S_OK;
    }
    HRESULT WINAPI get_Filter(VARIANT*) override { return E_NOTIMPL; }
    HRESULT WINAPI put_Filter(VARIANT) override { return E_NOTIMPL; }

protected:
    bool Offers(REFIID riid) const override {
        return IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, IID_IADsMembers);
    }

private:
    std::wstring userKey_;
};

class User final : public Object<UserStubs> {
public:
    explicit User(std::wstring key) : key_(std::move(key)) {}
    HRESULT WINAPI Groups(IADsMembers** out) override {
        std::wstring fail;
        ReadString(key_, L"Fail", &fail);
        if (fail == L"Groups") return E_FAIL;
        *out = new Members(key_);
        return S_OK;
    }

protected:
    bool Offers(REFIID riid) const override {
        return IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, IID_IADs) || IsEqualIID(riid, IID_IADsUser);
    }

private:
    std::wstring key_;
};

class WebService final : public Object<WebServiceStubs> {
public:
    HRESULT WINAPI GetCurrentMode(VARIANT* mode) override {
        DWORD value = 0;
        if (!ReadDword(L"W3SVC", L"Mode", &value)) return E_FAIL;
        DWORD result = S_OK;
        ReadDword(L"W3SVC", L"ModeResult", &result);
        VariantInit(mode);
        V_VT(mode) = VT_I4;
        V_I4(mode) = static_cast<LONG>(value);
        return static_cast<HRESULT>(result);
    }

protected:
    bool Offers(REFIID riid) const override {
        if (IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, IID_IADs)) return true;
        DWORD hidden = 0;
        return IsEqualIID(riid, IID_IISWebService) && !(ReadDword(L"W3SVC", L"NoWebService", &hidden) && hidden);
    }
};

class Filters final : public Object<AdsStubs<IADs>> {
public:
    HRESULT WINAPI Get(BSTR name, VARIANT* value) override {
        if (!name || _wcsicmp(name, L"FilterLoadOrder") != 0) return E_ADS_PROPERTY_NOT_FOUND;
        DWORD type = 0;
        std::vector<BYTE> data;
        if (!ReadValue(L"Filters", L"FilterLoadOrder", &type, &data)) return E_ADS_PROPERTY_NOT_FOUND;
        VariantInit(value);
        if (type == REG_DWORD) {
            V_VT(value) = VT_I4;
            V_I4(value) = *reinterpret_cast<const LONG*>(data.data());
        } else {
            V_VT(value) = VT_BSTR;
            V_BSTR(value) = SysAllocString(reinterpret_cast<const wchar_t*>(data.data()));
        }
        DWORD result = S_OK;
        ReadDword(L"Filters", L"GetResult", &result);
        return static_cast<HRESULT>(result);
    }

protected:
    bool Offers(REFIID riid) const override { return IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, IID_IADs); }
};

bool StartsWithNoCase(const std::wstring& text, const wchar_t* prefix, std::wstring* rest) {
    const std::size_t n = wcslen(prefix);
    if (text.size() < n || _wcsnicmp(text.c_str(), prefix, n) != 0) return false;
    *rest = text.substr(n);
    return true;
}

class Namespace final : public Object<DispatchStubs<IADsOpenDSObject>> {
public:
    HRESULT WINAPI OpenDSObject(BSTR path, BSTR, BSTR, LONG, IDispatch** out) override {
        if (!path || !out) return E_INVALIDARG;
        *out = nullptr;
        lstrcpynW(g_lastPath, path, ARRAYSIZE(g_lastPath));
        DWORD forced = 0;
        if (ReadDword(L"", L"OpenResult", &forced)) return static_cast<HRESULT>(forced);

        const std::wstring p(path);
        std::wstring rest;
        if (_wcsicmp(p.c_str(), L"IIS://localhost/W3SVC") == 0) {
            *out = new WebService;
        } else if (_wcsicmp(p.c_str(), L"IIS://localhost/W3SVC/Filters") == 0) {
            *out = new Filters;
        } else if (StartsWithNoCase(p, L"WinNT://", &rest)) {
            const std::size_t slash = rest.find(L'/');
            if (slash == std::wstring::npos || slash == 0 || slash + 1 == rest.size()) return E_ADS_BAD_PATHNAME;
            const std::wstring key = L"WinNT\\" + rest.substr(0, slash) + L"\\" + rest.substr(slash + 1);
            if (rest.find(L'\\') != std::wstring::npos || !KeyExists(key)) {
                return HRESULT_FROM_WIN32(ERROR_NO_SUCH_USER);
            }
            *out = new User(key);
        } else {
            return E_ADS_BAD_PATHNAME;
        }
        return S_OK;
    }

protected:
    bool Offers(REFIID riid) const override {
        return IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, IID_IADsOpenDSObject);
    }
};

class Factory final : public Object<IClassFactory> {
public:
    HRESULT WINAPI CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
        if (outer) return CLASS_E_NOAGGREGATION;
        Namespace* ns = new Namespace;
        const HRESULT hr = ns->QueryInterface(riid, out);
        ns->Release();
        return hr;
    }
    HRESULT WINAPI LockServer(BOOL) override { return S_OK; }

protected:
    bool Offers(REFIID riid) const override { return IsEqualIID(riid, IID_IClassFactory); }
};

}  // namespace

LONG LiveObjects() { return g_live; }
const wchar_t* LastPath() { return g_lastPath; }
void ForgetPath() { g_lastPath[0] = L'\0'; }
IUnknown* NewFactory() { return new Factory; }

}  // namespace adsi_stand_in
