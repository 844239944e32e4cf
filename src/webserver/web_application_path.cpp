#include <windows.h>

#include "frame/find_string.h"
#include "webserver/wide_to_ansi.h"
#include "webserver/web_server_queries.h"

namespace cvi {
namespace {

constexpr int kPathBytes = 204;

}  // namespace

int IsWebApplicationPath(const wchar_t* path, const wchar_t* kind) {
    char narrow[kPathBytes];
    // A shortened path could lose the marker or end inside a folder name;
    // a path that does not fit is not examined at all.
    if (!ConvertWideToAnsi(path, narrow, kPathBytes)) return 0;

    const bool admin = kind != nullptr && ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, kind, -1,
                                                           L"Admin", -1) == CSTR_EQUAL;
    const char* const first = admin ? "\\Bin\\WebAdmin" : "\\Bin\\WebMail";
    const char* const second = admin ? "\\Bin\\NetWebAdmin" : "\\Bin\\NetWebMail";
    if (FindStringNoCase(narrow, first) != nullptr) return 1;
    if (FindStringNoCase(narrow, second) != nullptr) return 1;
    return 0;
}

}  // namespace cvi
