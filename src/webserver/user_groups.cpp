#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "frame/format_bounded.h"
#include "frame/unique_resource.h"
#include "webserver/active_ds.h"
#include "webserver/directory.h"
#include "webserver/wide_to_ansi.h"
#include "webserver/web_server_queries.h"

namespace cvi {
namespace {

constexpr std::size_t kComputerBytes = 256;
constexpr std::size_t kPathBytes = 1024;
constexpr int kGroupBytes = 256;

// The element's group name, read whole into `name`; false when the element
// is no object, offers no IADs, has no name, or a name too long to compare.
bool GroupName(const VARIANT& element, char (&name)[kGroupBytes]) {
    if (V_VT(&element) != VT_DISPATCH && V_VT(&element) != VT_UNKNOWN) return false;
    IUnknown* object = V_VT(&element) == VT_DISPATCH ? V_DISPATCH(&element) : V_UNKNOWN(&element);
    if (object == nullptr) return false;
    unique_com<IADs> group;
    if (FAILED(object->QueryInterface(kIID_IADs, group.put_as<void>())) || !group) return false;
    unique_bstr text;
    if (FAILED(group->get_Name(text.put())) || !text) return false;
    return ConvertWideToAnsi(text.get(), name, kGroupBytes);
}

// The user's WinNT path, widened; null when an input does not fit the
// path's bounds or cannot be widened.
std::unique_ptr<wchar_t[]> UserPath(const char* computer, const char* user) {
    char computerPart[kComputerBytes] = {};
    if (computer != nullptr) {
        // A shortened computer name would address another computer.
        const std::size_t length = std::strlen(computer);
        if (length >= kComputerBytes) return nullptr;
        std::memcpy(computerPart, computer, length + 1);
    } else if (!GetLocalComputerName(computerPart, kComputerBytes)) {
        std::memcpy(computerPart, "localhost", sizeof "localhost");
    }

    char path[kPathBytes];
    if (FormatBounded(path, sizeof path, "WinNT://%s/%s", computerPart, user) != 0) return nullptr;
    const std::size_t length = std::strlen(path);

    std::unique_ptr<wchar_t[]> wide(new (std::nothrow) wchar_t[length + 1]);
    if (!wide) return nullptr;
#if defined(_MSC_VER)
    // C4996 ("unsafe"): the destination holds length + 1 characters, all
    // that the conversion can produce from `length` bytes.
#pragma warning(suppress : 4996)
#endif
    const std::size_t widened = std::mbstowcs(wide.get(), path, length + 1);
    if (widened == static_cast<std::size_t>(-1)) return nullptr;
    wide[length] = L'\0';
    return wide;
}

}  // namespace

int IsUserInGroup(const char* computer, const char* user, const char* group) {
    // A group name beyond what a directory name is read into could only
    // ever match a shortened name.
    if (user == nullptr || group == nullptr || std::strlen(group) >= kGroupBytes) return 0;
    const std::unique_ptr<wchar_t[]> path = UserPath(computer, user);
    if (!path) return 0;

    const ActiveDs ads;
    unique_com<IADsUser> account;
    if (ads.ADsGetObject(path.get(), kIID_IADsUser, account.put_as<void>()) != S_OK || !account) return 0;

    unique_com<IADsMembers> groups;
    const HRESULT listed = account->Groups(groups.put());
    account.reset();
    if (FAILED(listed) || !groups) return -1;

    unique_com<IUnknown> enumeratorObject;
    const HRESULT enumerated = groups->get__NewEnum(enumeratorObject.put());
    groups.reset();
    if (FAILED(enumerated) || !enumeratorObject) return -1;

    unique_com<IEnumVARIANT> enumerator;
    const HRESULT queried = enumeratorObject->QueryInterface(kIID_IEnumVARIANT, enumerator.put_as<void>());
    enumeratorObject.reset();
    if (FAILED(queried) || !enumerator) return -1;

    unique_variant element;
    int result = 0;
    ULONG fetched = 0;
    while (enumerator->Next(1, element.get(), &fetched) == S_OK) {
        char name[kGroupBytes] = {};
        if (fetched == 1 && GroupName(*element.get(), name) && _stricmp(name, group) == 0) {
            result = 1;
            break;
        }
        element.clear();
        fetched = 0;
    }
    return result;
}

}  // namespace cvi
