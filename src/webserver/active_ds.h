// activeds' ADsGetObject, bound by ordinal from the system folder's copy for
// the length of one operation. Declared before the operation's COM scope, it
// is given back only after COM has been uninitialised.
#pragma once

#include <windows.h>

#include "frame/system_library.h"
#include "frame/unique_resource.h"

namespace cvi {

class ActiveDs {
public:
    ActiveDs()
        : library_(LoadSystemLibrary("activeds.dll")),
          getObject_(EntryPointByOrdinal<GetObjectFn>(library_.get(), kADsGetObject)) {}
    ActiveDs(const ActiveDs&) = delete;
    ActiveDs& operator=(const ActiveDs&) = delete;

    // False when the library or its entry point could not be bound.
    explicit operator bool() const noexcept { return getObject_ != nullptr; }

    // E_FAIL when unbound, so no caller can take it for a binding.
    HRESULT ADsGetObject(LPCWSTR path, REFIID iid, void** object) const {
        return getObject_ ? getObject_(path, iid, object) : E_FAIL;
    }

private:
    using GetObjectFn = HRESULT(WINAPI*)(LPCWSTR, REFIID, void**);
    static constexpr WORD kADsGetObject = 3;

    unique_module library_;
    GetObjectFn getObject_;
};

}  // namespace cvi
