// Reference counting shared by the stand-in's interfaces. Each object counts
// itself live while it exists and journals "Release:<kind>" when its last
// reference goes, so tests see both leaks and the order of release.
#pragma once

#include <windows.h>
#include <mapix.h>

#include <string>

#include "provider_state.h"

namespace standin {

template <typename I>
class StandInObject : public I {
public:
    StandInObject(const char* kind, const IID& iid) : kind_(kind), iid_(iid) { ObjectCreated(); }
    virtual ~StandInObject() { ObjectDestroyed(); }
    StandInObject(const StandInObject&) = delete;
    StandInObject& operator=(const StandInObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, LPVOID* out) override {
        if (!out) return MAPI_E_INVALID_PARAMETER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, iid_)) {
            *out = static_cast<I*>(this);
            this->AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = static_cast<ULONG>(InterlockedDecrement(&refs_));
        if (left == 0) {
            Journal("Release:" + kind_);
            delete this;
        }
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetLastError(HRESULT, ULONG, LPMAPIERROR* error) override {
        if (error) *error = nullptr;
        return MAPI_E_NO_SUPPORT;
    }

private:
    std::string kind_;
    IID iid_;
    LONG refs_ = 1;
};

// MAPI's interface identifiers: {0002xxxx-0000-0000-C000-000000000046}.
inline IID MapiIid(DWORD first) { return IID{first, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}}; }

}  // namespace standin
