// Calls one profile export of CVINSTALLER.dll in a fresh process, so a test
// can choose the environment (and with it the MAPI provider) mapi32 sees.
//   profile_runner exists <name>   exit code: result * 100 + *exists (7 if untouched)
//   profile_runner create <name>   exit code: result
#include <windows.h>

#include <cstring>
#include <string>

#include "cvinstaller.h"

int main(int argc, char** argv) {
    if (argc != 3) return 255;
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dll(path);
    dll = dll.substr(0, dll.find_last_of('\\') + 1) + "CVINSTALLER.dll";
    HMODULE lib = LoadLibraryA(dll.c_str());
    if (!lib) return 254;
    int code = 253;
    if (strcmp(argv[1], "exists") == 0) {
        auto exists = reinterpret_cast<decltype(&ProfileExists)>(
            reinterpret_cast<void*>(GetProcAddress(lib, "ProfileExists")));
        int answer = 7;
        if (exists) code = exists(argv[2], &answer) * 100 + answer;
    } else if (strcmp(argv[1], "create") == 0) {
        auto create = reinterpret_cast<decltype(&CreateProfile)>(
            reinterpret_cast<void*>(GetProcAddress(lib, "CreateProfile")));
        if (create) code = create(argv[2], "1", "2", "3", "4", 5, "6", "7", "8");
    }
    FreeLibrary(lib);
    return code;
}
