// cvinst: runs the exports of CVINSTALLER.dll by hand, for setup authors and
// support engineers. Loads the DLL from its own folder, calls one export per
// subcommand, prints the result with its meaning.
//
// Exit codes: 0 the export answered success or yes; 1 it answered failure,
// no, or another documented result; 2 wrong or missing arguments;
// 3 CVINSTALLER.dll or the export could not be loaded.
#include <windows.h>
#include <msiquery.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "program_folder.h"

#include "cvinstaller.h"

namespace {

constexpr int kYes = 0, kNo = 1, kUsage = 2, kNoLibrary = 3;

using Args = std::vector<std::string>;

struct Library {
    HMODULE module = nullptr;
    template <typename Fn>
    Fn get(const char* name) const {
        return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
    }
};

struct Command {
    const char* name;
    const char* args;   // usage text of the arguments
    int minArgs, maxArgs;
    const char* help;   // one line: what it calls and its results
    int (*run)(const Library&, const Args&);
};

int Missing(const char* exportName) {
    std::fprintf(stderr, "cvinst: CVINSTALLER.dll or its export %s could not be loaded\n", exportName);
    return kNoLibrary;
}

#define CVI_GET(lib, fn)                                          \
    auto fn = (lib).get<decltype(&::fn)>(#fn);                    \
    if (!fn) return Missing(#fn)

bool ParseRoot(const std::string& s, HKEY& root) {
    struct { const char* name; HKEY key; } roots[] = {
        {"HKLM", HKEY_LOCAL_MACHINE}, {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
        {"HKCU", HKEY_CURRENT_USER},  {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
        {"HKCR", HKEY_CLASSES_ROOT},  {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
        {"HKU", HKEY_USERS},          {"HKEY_USERS", HKEY_USERS}};
    for (const auto& r : roots) {
        if (_stricmp(s.c_str(), r.name) == 0) {
            root = r.key;
            return true;
        }
    }
    return false;
}

bool ParseNumber(const std::string& s, long long lo, long long hi, long long& out) {
    if (s.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(s.c_str(), &end, 0);
    if (errno || *end || v < lo || v > hi) return false;
    out = v;
    return true;
}

// Splits off a trailing --64 flag.
int ViewFlag(Args& a) {
    if (!a.empty() && a.back() == "--64") {
        a.pop_back();
        return 1;
    }
    return 0;
}

const char* TextOrNull(const std::string& s) { return s == "--null" ? nullptr : s.c_str(); }

int UsageError(const std::string& message);

// --- subcommands -----------------------------------------------------------

int Time(const Library& lib, const Args&) {
    CVI_GET(lib, GetTimeAsLong);
    std::printf("GetTimeAsLong = %ld (seconds since 1970-01-01 UTC)\n", GetTimeAsLong());
    return kYes;
}

int Kill(const Library& lib, const Args& a) {
    CVI_GET(lib, KillProcessByFileName);
    const int r = KillProcessByFileName(TextOrNull(a[0]));
    std::fflush(stdout);
    std::printf("KillProcessByFileName = %d (%s)\n", r,
                r ? "process list walked; every other matching process ended" : "process list not walked");
    return r == 1 ? kYes : kNo;
}

int RegExists(const Library& lib, const Args& a) {
    CVI_GET(lib, RegistryKeyExists);
    const int r = RegistryKeyExists(a[0].c_str());
    std::printf("RegistryKeyExists = %d (%s)\n", r,
                r ? "HKEY_LOCAL_MACHINE key opens" : "key missing or not readable");
    return r == 1 ? kYes : kNo;
}

void PrintError(const char* fn, LONG r) {
    char text[256] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, static_cast<DWORD>(r), 0,
                   text, sizeof text, nullptr);
    for (char* p = text + std::strlen(text); p > text && (p[-1] == '\n' || p[-1] == '\r'); --p) p[-1] = 0;
    std::printf("%s = %ld (%s)\n", fn, r, r == 0 ? "success" : (*text ? text : "Windows error code"));
}

// The registry writers' arguments: ROOT, then `count` texts (the path
// first), then an optional --64. 0 when they fit, else the usage error's code.
struct RegistryCall {
    HKEY root = nullptr;
    int view = 0;
    Args texts;
};

int ParseRegistryCall(const Args& args, size_t minTexts, size_t maxTexts, const char* usage, RegistryCall& call) {
    Args a = args;
    call.view = ViewFlag(a);
    if (a.size() < minTexts + 1 || a.size() > maxTexts + 1) return UsageError(usage);
    if (!ParseRoot(a[0], call.root)) return UsageError("ROOT must be HKLM, HKCU, HKCR or HKU");
    call.texts.assign(a.begin() + 1, a.end());
    return 0;
}

int CreateKey(const Library& lib, const Args& args) {
    RegistryCall c;
    if (int code = ParseRegistryCall(args, 1, 2, "create-key ROOT PATH [DEFAULT-TEXT] [--64]", c)) return code;
    CVI_GET(lib, CreateEmptyKey3264);
    const LONG r = CreateEmptyKey3264(c.root, c.texts[0].c_str(), c.texts.size() > 1 ? c.texts[1].c_str() : nullptr,
                                      c.view);
    PrintError("CreateEmptyKey3264", r);
    return r == 0 ? kYes : kNo;
}

int SetString(const Library& lib, const Args& args) {
    RegistryCall c;
    if (int code = ParseRegistryCall(args, 3, 3, "reg-set-string ROOT PATH NAME VALUE [--64]", c)) return code;
    CVI_GET(lib, SetRegistryString3264);
    const LONG r =
        SetRegistryString3264(c.root, c.texts[0].c_str(), TextOrNull(c.texts[1]), TextOrNull(c.texts[2]), c.view);
    PrintError("SetRegistryString3264", r);
    return r == 0 ? kYes : kNo;
}

int SetWord(const Library& lib, const Args& args) {
    RegistryCall c;
    if (int code = ParseRegistryCall(args, 3, 3, "reg-set-word ROOT PATH NAME NUMBER [--64]", c)) return code;
    long long value;
    if (!ParseNumber(c.texts[2], 0, 0xFFFFFFFFLL, value))
        return UsageError("NUMBER must be 0..4294967295 (0x prefix for hex)");
    CVI_GET(lib, SetRegistryWord3264);
    const int r = SetRegistryWord3264(c.root, c.texts[0].c_str(), TextOrNull(c.texts[1]), static_cast<DWORD>(value),
                                      c.view);
    std::printf("SetRegistryWord3264 = %d (%s)\n", r, r ? "written" : "failed");
    return r == 1 ? kYes : kNo;
}

int AdsiStatus(const Library& lib, const Args&) {
    CVI_GET(lib, GetADSIStatus);
    const int r = GetADSIStatus();
    std::printf("GetADSIStatus = %d (%s)\n", r,
                r ? "IIS web service reachable through ADSI" : "IIS web service not reachable through ADSI");
    return r == 1 ? kYes : kNo;
}

const char* FilterMeaning(int r) {
    switch (r) {
        case 0: return "no ASP.NET filter registered";
        case 1: return "ASP.NET filter present, not the requested version";
        case 2: return "ASP.NET filter present";
        case 3: return "filter list could not be read";
        default: return "unexpected result";
    }
}

int NetFilters(const Library& lib, const Args& a) {
    CVI_GET(lib, IIS_CheckNetFilters);
    const char* version = a.empty() ? nullptr : a[0].c_str();
    const int r = IIS_CheckNetFilters(version);
    std::printf("IIS_CheckNetFilters = %d (%s%s)\n", r, FilterMeaning(r),
                r == 2 && version ? ", of the requested version" : "");
    return r == 2 ? kYes : kNo;
}

int AspNetIsapi(const Library& lib, const Args&) {
    CVI_GET(lib, CheckForASPNETISAPI);
    const int r = CheckForASPNETISAPI();
    std::printf("CheckForASPNETISAPI = %d (%s)\n", r,
                r ? "aspnet_isapi.dll found in a .NET Framework folder" : "no aspnet_isapi.dll found");
    return r == 1 ? kYes : kNo;
}

int MapiDir(const Library& lib, const Args& a) {
    long long size = MAX_PATH;
    if (!a.empty() && !ParseNumber(a[0], 1, 65536, size)) return UsageError("SIZE must be 1..65536");
    CVI_GET(lib, InitMAPIDir);
    std::vector<char> buffer(static_cast<size_t>(size) + 1, '\0');
    InitMAPIDir(buffer.data(), static_cast<DWORD>(size));
    std::printf("InitMAPIDir = \"%s\"%s\n", buffer.data(), buffer[0] ? "" : " (no folder determined)");
    return buffer[0] ? kYes : kNo;
}

// msi.dll is no KnownDLL, so it is bound from the system folder: a copy
// beside cvinst (say, in a Downloads folder) must never run.
struct Installer {
    using OpenPackageFn = UINT(WINAPI*)(LPCSTR, MSIHANDLE*);
    using GetPropertyFn = UINT(WINAPI*)(MSIHANDLE, LPCSTR, LPSTR, DWORD*);
    using CloseHandleFn = UINT(WINAPI*)(MSIHANDLE);

    Installer() {
        char folder[MAX_PATH] = "";
        const UINT n = GetSystemDirectoryA(folder, MAX_PATH);
        if (n == 0 || n >= MAX_PATH) return;
        module = LoadLibraryExA((std::string(folder) + "\\msi.dll").c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
        openPackage = Get<OpenPackageFn>("MsiOpenPackageA");
        getProperty = Get<GetPropertyFn>("MsiGetPropertyA");
        closeHandle = Get<CloseHandleFn>("MsiCloseHandle");
    }
    ~Installer() {
        if (module) FreeLibrary(module);
    }
    Installer(const Installer&) = delete;
    Installer& operator=(const Installer&) = delete;
    bool bound() const { return openPackage && getProperty && closeHandle; }

    template <typename Fn>
    Fn Get(const char* name) const {
        return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
    }

    HMODULE module = nullptr;
    OpenPackageFn openPackage = nullptr;
    GetPropertyFn getProperty = nullptr;
    CloseHandleFn closeHandle = nullptr;
};

int MsiMapiProperties(const Library& lib, const Args& a) {
    CVI_GET(lib, MSI_SetMAPIProperties);
    const Installer msi;
    MSIHANDLE session = 0;
    if (!a.empty()) {
        if (!msi.bound()) {
            std::fprintf(stderr, "cvinst: the Windows Installer library could not be loaded\n");
            return kNoLibrary;
        }
        const UINT open = msi.openPackage(a[0].c_str(), &session);
        if (open != ERROR_SUCCESS) {
            std::fprintf(stderr, "cvinst: cannot open package %s (error %u)\n", a[0].c_str(), open);
            return kNo;
        }
    }
    const UINT r = MSI_SetMAPIProperties(session);
    std::printf("MSI_SetMAPIProperties = %u (%s)\n", r,
                r == 0 ? "folder determined, property set" : "no folder determined");
    if (session) {
        char value[1024] = "";
        DWORD size = sizeof value;
        msi.getProperty(session, "CV_MAPICOMMONFILESPATH", value, &size);
        std::printf("CV_MAPICOMMONFILESPATH = \"%s\"\n", value);
        msi.closeHandle(session);
    } else {
        std::printf("(no package given: the property went to no session)\n");
    }
    return r == 0 ? kYes : kNo;
}

int CreateProfileCmd(const Library& lib, const Args& a) {
    long long v5;
    if (!ParseNumber(a[5], -2147483648LL, 2147483647LL, v5)) return UsageError("V5 must be a 32-bit signed number");
    CVI_GET(lib, CreateProfile);
    const int r = CreateProfile(a[0].c_str(), a[1].c_str(), a[2].c_str(), a[3].c_str(), a[4].c_str(),
                                static_cast<LONG>(v5), a[6].c_str(), a[7].c_str(), a[8].c_str());
    std::printf("CreateProfile = %d (%s)\n", r,
                r ? "profile created with the VAVA service configured" : "failed (a profile may have been left behind)");
    return r == 1 ? kYes : kNo;
}

int ProfileExistsCmd(const Library& lib, const Args& a) {
    CVI_GET(lib, ProfileExists);
    int exists = -1;
    const int r = ProfileExists(a[0].c_str(), &exists);
    if (!r) {
        std::printf("ProfileExists = 0 (could not be answered)\n");
        return kNo;
    }
    std::printf("ProfileExists = 1, exists = %d (%s)\n", exists, exists ? "profile present" : "no such profile");
    return exists ? kYes : kNo;
}

int Report(const Library& lib, const Args&);

const Command kCommands[] = {
    {"time", "", 0, 0, "GetTimeAsLong: seconds since 1970 UTC (exit 0)", Time},
    {"kill", "NAME", 1, 1,
     "KillProcessByFileName: end every other process whose name contains NAME; 1 walked, 0 not walked", Kill},
    {"reg-exists", "PATH", 1, 1, "RegistryKeyExists: HKLM\\PATH opens? 1 yes, 0 no", RegExists},
    {"create-key", "ROOT PATH [DEFAULT-TEXT] [--64]", 2, 4,
     "CreateEmptyKey3264: create key, optional default value; 0 or a Windows error code", CreateKey},
    {"reg-set-string", "ROOT PATH NAME VALUE [--64]", 4, 5,
     "SetRegistryString3264: write REG_SZ; 0 or a Windows error code", SetString},
    {"reg-set-word", "ROOT PATH NAME NUMBER [--64]", 4, 5,
     "SetRegistryWord3264: write REG_DWORD; 1 written, 0 failed", SetWord},
    {"adsi-status", "", 0, 0, "GetADSIStatus: IIS web service bound through ADSI? 1 yes, 0 no", AdsiStatus},
    {"net-filters", "[VERSION]", 0, 1,
     "IIS_CheckNetFilters: 0 no ASP.NET filter, 1 not that version, 2 present, 3 list unreadable (exit 0 only for 2)",
     NetFilters},
    {"aspnet-isapi", "", 0, 0, "CheckForASPNETISAPI: aspnet_isapi.dll in a .NET Framework folder? 1 yes, 0 no",
     AspNetIsapi},
    {"mapi-dir", "[SIZE]", 0, 1, "InitMAPIDir: path of MAPISVC.INF in the MAPI folder; empty on failure", MapiDir},
    {"msi-mapi-props", "[PACKAGE.msi]", 0, 1,
     "MSI_SetMAPIProperties: set CV_MAPICOMMONFILESPATH in the package's session; 0 set, 2 no folder",
     MsiMapiProperties},
    {"create-profile", "NAME V1 V2 V3 V4 V5 V6 V7 V8", 9, 9,
     "CreateProfile: MAPI profile with the VAVA service configured; 1 created, 0 failed", CreateProfileCmd},
    {"profile-exists", "NAME", 1, 1, "ProfileExists: 1 answered (exists 1/0), 0 not answered", ProfileExistsCmd},
    {"report", "", 0, 0, "every read-only check in one table", Report},
};

void PrintHelp() {
    std::printf("usage: cvinst COMMAND [ARGS]\n\nRuns one export of CVINSTALLER.dll (loaded from cvinst's own folder).\n"
                "Texts may be given as --null to pass a null pointer where the export accepts one.\n\n");
    for (const auto& c : kCommands) {
        std::string head = std::string(c.name) + (*c.args ? " " : "") + c.args;
        std::printf("  %-44s %s\n", head.c_str(), c.help);
    }
    std::printf("\nexit codes: 0 success/yes, 1 failure/no/other result, 2 usage error, 3 DLL or export missing\n");
}

int UsageError(const std::string& message) {
    std::fprintf(stderr, "cvinst: %s (see cvinst --help)\n", message.c_str());
    return kUsage;
}

// Captures what one check prints, for the report table.
struct Row {
    std::string check, answer;
};

int Report(const Library& lib, const Args&) {
    std::vector<Row> rows;
    auto add = [&](const std::string& check, const std::string& answer) { rows.push_back({check, answer}); };
    char buf[512];
    if (auto f = lib.get<decltype(&GetTimeAsLong)>("GetTimeAsLong")) {
        std::snprintf(buf, sizeof buf, "%ld", f());
        add("GetTimeAsLong", buf);
    }
    if (auto f = lib.get<decltype(&RegistryKeyExists)>("RegistryKeyExists")) {
        for (const char* key : {"SOFTWARE\\Microsoft\\InetStp", "SYSTEM\\CurrentControlSet\\Services\\W3SVC",
                                "SYSTEM\\CurrentControlSet\\Services\\NTDS\\Parameters",
                                "Software\\Clients\\Mail\\Microsoft Outlook"}) {
            add(std::string("RegistryKeyExists ") + key, f(key) ? "1 (present)" : "0 (absent)");
        }
    }
    if (auto f = lib.get<decltype(&GetADSIStatus)>("GetADSIStatus"))
        add("GetADSIStatus", f() ? "1 (IIS reachable)" : "0 (IIS not reachable)");
    if (auto f = lib.get<decltype(&IIS_CheckNetFilters)>("IIS_CheckNetFilters")) {
        for (const char* v : {static_cast<const char*>(nullptr), "v2.0.50727", "v4.0.30319"}) {
            const int r = f(v);
            std::snprintf(buf, sizeof buf, "%d (%s)", r, FilterMeaning(r));
            add(std::string("IIS_CheckNetFilters ") + (v ? v : "(any)"), buf);
        }
    }
    if (auto f = lib.get<decltype(&CheckForASPNETISAPI)>("CheckForASPNETISAPI"))
        add("CheckForASPNETISAPI", f() ? "1 (found)" : "0 (not found)");
    if (auto f = lib.get<decltype(&InitMAPIDir)>("InitMAPIDir")) {
        char path[MAX_PATH + 1] = "";
        f(path, MAX_PATH);
        add("InitMAPIDir", *path ? path : "(empty)");
    }
    if (rows.empty()) return Missing("(any)");
    size_t width = 0;
    for (const auto& r : rows) width = r.check.size() > width ? r.check.size() : width;
    for (const auto& r : rows) std::printf("%-*s  %s\n", static_cast<int>(width), r.check.c_str(), r.answer.c_str());
    return kYes;
}


}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || !std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h") || !std::strcmp(argv[1], "/?")) {
        if (argc < 2) {
            UsageError("missing COMMAND");
            return kUsage;
        }
        PrintHelp();
        return kYes;
    }
    const Command* command = nullptr;
    for (const auto& c : kCommands)
        if (!std::strcmp(argv[1], c.name)) command = &c;
    if (!command) return UsageError(std::string("unknown command '") + argv[1] + "'");
    const Args args(argv + 2, argv + argc);
    const int n = static_cast<int>(args.size());
    if (n < command->minArgs || n > command->maxArgs)
        return UsageError(std::string("usage: cvinst ") + command->name + " " + command->args);

    Library lib;
    lib.module = LoadLibraryA((cvi_tools::ProgramFolder() + "\\CVINSTALLER.dll").c_str());
    if (!lib.module) return Missing("(library)");
    const int code = command->run(lib, args);
    FreeLibrary(lib.module);
    return code;
}
