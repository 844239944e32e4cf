#include "webserver/host_names.h"

#include "frame/find_string.h"

namespace cvi {
namespace {

// The product's server executables and the mail client. These run their own
// COM work from many threads, so the library must not force them into a
// single-threaded apartment.
const char* const kMultithreadedHosts[] = {
    "CVSMTPC.EXE", "CVSMSC.EXE", "CVLDAPS.EXE", "CVIMAPS.EXE", "CVMAPIS.EXE",
    "CVMTA.EXE",   "CVPOC.EXE",  "CVPOPS.EXE",  "CVLCS.EXE",   "CVHTTPS.EXE",
    "CVPOPC.EXE",  "OUTLOOK.EXE", "CVRADMS.EXE",
};

}  // namespace

bool PathNamesMultithreadedHost(const char* path) {
    for (const char* name : kMultithreadedHosts) {
        if (FindStringNoCase(path, name) != nullptr) return true;
    }
    return false;
}

}  // namespace cvi
