#include <windows.h>

#include "frame/unique_resource.h"
#include "security/access_control.h"

namespace cvi {
int GetCurrentTokenUserName(char* name, DWORD* nameCapacity, char* domain,
                            DWORD* domainCapacity) {
    // Declared first so that it is released last: the token closes first.
    unique_process_heap<> userInformation;
    unique_handle token;

    // Checked against the process's own context, so an impersonated user
    // without the right to query its token is still named.
    HANDLE opened = nullptr;
    if (!::OpenThreadToken(::GetCurrentThread(), TOKEN_QUERY, TRUE, &opened)) {
        if (::GetLastError() != ERROR_NO_TOKEN) return 0;
        if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &opened)) return 0;
    }
    token.reset(opened);

    DWORD length = 0;
    if (::GetTokenInformation(token.get(), TokenUser, nullptr, 0, &length) ||
        ::GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
        return 0;
    }
    userInformation.reset(::HeapAlloc(::GetProcessHeap(), 0, length));
    if (!userInformation) return 0;
    if (!::GetTokenInformation(token.get(), TokenUser, userInformation.get(), length, &length)) {
        return 0;
    }

    const auto* user = static_cast<const TOKEN_USER*>(userInformation.get());
    SID_NAME_USE use;
    return ::LookupAccountSidA(nullptr, user->User.Sid, name, nameCapacity, domain, domainCapacity,
                               &use)
               ? 1
               : 0;
}

}  // namespace cvi
