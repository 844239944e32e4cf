// kill_runner [NAME|--null]: calls KillProcessByFileName and exits with its
// result. Its standard output is the export's output, so a test can start it
// with stdout redirected to a file from the first byte.
#include <cstring>

#include "cvinstaller.h"

int main(int argc, char** argv) {
    const char* name = nullptr;
    if (argc > 1 && std::strcmp(argv[1], "--null") != 0) name = argv[1];
    return KillProcessByFileName(name);
}
