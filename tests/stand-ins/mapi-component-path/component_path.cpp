// Stand-in MAPI provider: answers FGetComponentPath from
//   HKCU\Software\CVINSTALLER-tests\component-path\<first string of the
//   qualifier, or "(null)">: Result (DWORD), Path (string), and
//   Unterminated (DWORD, nonzero: fill the whole buffer from Path, no NUL)
// records the file it was loaded from and the command line of the process
// that asked in the string values Module and Host, and
// appends one line per call to the REG_BINARY value Calls of that key:
//   "<qualifier, each NUL as '|', through the list's end> size=<n> install=<n>\n"
// or "(null) size=..." for a null qualifier.
#include <windows.h>

#include <string>

namespace {

const char kRoot[] = "Software\\CVINSTALLER-tests\\component-path";

std::string Describe(const char* qualifier) {
    if (!qualifier) return "(null)";
    std::string text;
    for (const char* p = qualifier; *p; p += lstrlenA(p) + 1) {
        text += p;
        text += '|';
    }
    return text;
}

HMODULE Self() {
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&Self), &self);
    return self;
}

void Record(const std::string& line) {
    HKEY root;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kRoot, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &root,
                        nullptr) != ERROR_SUCCESS) {
        return;
    }
    std::string calls;
    DWORD size = 0;
    if (RegQueryValueExA(root, "Calls", nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS && size) {
        calls.resize(size);
        RegQueryValueExA(root, "Calls", nullptr, nullptr, reinterpret_cast<BYTE*>(&calls[0]), &size);
        calls.resize(size);
    }
    calls += line;
    char module[MAX_PATH] = {};
    GetModuleFileNameA(Self(), module, MAX_PATH);
    RegSetValueExA(root, "Module", 0, REG_SZ, reinterpret_cast<const BYTE*>(module), lstrlenA(module) + 1);
    const char* host = GetCommandLineA();
    RegSetValueExA(root, "Host", 0, REG_SZ, reinterpret_cast<const BYTE*>(host), lstrlenA(host) + 1);
    RegSetValueExA(root, "Calls", 0, REG_BINARY, reinterpret_cast<const BYTE*>(calls.data()),
                   static_cast<DWORD>(calls.size()));
    RegCloseKey(root);
}

struct Answer {
    DWORD result = FALSE;
    std::string path;
    DWORD unterminated = 0;
};

Answer Lookup(const char* qualifier) {
    Answer answer;
    const std::string name = std::string(kRoot) + "\\" + (qualifier ? qualifier : "(null)");
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, name.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return answer;
    DWORD size = sizeof(answer.result);
    RegQueryValueExA(key, "Result", nullptr, nullptr, reinterpret_cast<BYTE*>(&answer.result), &size);
    size = sizeof(answer.unterminated);
    RegQueryValueExA(key, "Unterminated", nullptr, nullptr, reinterpret_cast<BYTE*>(&answer.unterminated),
                     &size);
    char path[1024] = {};
    size = sizeof(path) - 1;
    if (RegQueryValueExA(key, "Path", nullptr, nullptr, reinterpret_cast<BYTE*>(path), &size) == ERROR_SUCCESS) {
        answer.path = path;
    }
    RegCloseKey(key);
    return answer;
}

}  // namespace

extern "C" BOOL WINAPI FGetComponentPath(LPCSTR component, LPCSTR qualifier, LPSTR path, DWORD capacity,
                                         BOOL install) {
    (void)component;
    Record(Describe(qualifier) + " size=" + std::to_string(capacity) + " install=" + std::to_string(install) +
           "\n");
    const Answer answer = Lookup(qualifier);
    if (capacity == 0) return answer.result;
    if (answer.unterminated) {
        for (DWORD i = 0; i < capacity; ++i) path[i] = answer.path.empty() ? 'x' : answer.path[i % answer.path.size()];
        return answer.result;
    }
    const size_t n = answer.path.size() < capacity ? answer.path.size() : capacity - 1;
    answer.path.copy(path, n);
    path[n] = '\0';
    return answer.result;
}
