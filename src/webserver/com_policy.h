// The library's one COM initialisation policy, chosen from the host
// executable's name.
#pragma once

#include <windows.h>
#include <objbase.h>

namespace cvi {

// 1 when the host process's executable path names one of the product's
// server executables or the mail client, else 0.
int IsMultithreadedHost();

// Initialises COM on the calling thread: the multithreaded apartment inside
// the hosts above, the apartment-threaded model everywhere else. Returns the
// result of the initialisation call.
HRESULT InitializeComForHost();

// Applies the policy for the length of a scope. The thread's initialisation
// count is balanced: CoUninitialize runs only when the initialisation
// counted (S_OK or S_FALSE). After RPC_E_CHANGED_MODE the thread already
// belongs to the caller's apartment, and uninitialising would tear that
// apartment down under the caller.
class HostComScope {
public:
    HostComScope() noexcept : result_(InitializeComForHost()) {}
    ~HostComScope() {
        if (SUCCEEDED(result_)) ::CoUninitialize();
    }
    HostComScope(const HostComScope&) = delete;
    HostComScope& operator=(const HostComScope&) = delete;

    HRESULT result() const noexcept { return result_; }

private:
    HRESULT result_;
};

}  // namespace cvi
