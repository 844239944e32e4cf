// Applies the COM policy, or calls the ADSI exports, in a process whose
// executable name the test chooses, and prints what resulted.
//   com_probe policy              multithreaded=<0|1> apartment=<...>
//   com_probe sta-caller <dll>    status=<n> filters=<n> mode=<n> after=<...> end=<...> live=<n>
#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <cstring>

#include "apartment.h"
#include "cvinstaller.h"
#include "webserver/com_policy.h"
#include "webserver/web_server_queries.h"

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "policy") == 0) {
        const int multithreaded = cvi::IsMultithreadedHost();
        const HRESULT hr = cvi::InitializeComForHost();
        const std::string apartment = cvi_test::ApartmentOfThisThread();
        if (SUCCEEDED(hr)) CoUninitialize();
        std::printf("multithreaded=%d apartment=%s\n", multithreaded, apartment.c_str());
        return 0;
    }
    if (argc >= 3 && std::strcmp(argv[1], "sta-caller") == 0) {
        HMODULE provider = LoadLibraryA(argv[2]);
        auto live = reinterpret_cast<LONG(WINAPI*)()>(
            reinterpret_cast<void*>(GetProcAddress(provider, "AdsiStandInLiveObjects")));
        CoInitialize(nullptr);
        const int status = GetADSIStatus();
        const int filters = IIS_CheckNetFilters(nullptr);
        const int mode = cvi::GetWebServiceMode();
        const std::string after = cvi_test::ApartmentOfThisThread();
        CoUninitialize();
        const std::string end = cvi_test::ApartmentOfThisThread();
        std::printf("status=%d filters=%d mode=%d after=%s end=%s live=%ld\n", status, filters, mode,
                    after.c_str(), end.c_str(), live ? live() : -1L);
        return 0;
    }
    return 2;
}
