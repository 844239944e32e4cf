#include <windows.h>

#include "cvinstaller.h"
#include "frame/unique_resource.h"
#include "webserver/active_ds.h"
#include "webserver/com_policy.h"
#include "webserver/directory.h"

extern "C" int WINAPI GetADSIStatus(void) {
    int result = 0;
    const cvi::ActiveDs ads;
    if (!ads) return result;
    cvi::HostComScope com;
    try {
        cvi::unique_com<IADs> service;
        // Only exactly S_OK is a binding; success codes such as S_FALSE do
        // not promise an object.
        if (ads.ADsGetObject(cvi::kWebServicePath, cvi::kIID_IADs, service.put_as<void>()) == S_OK) {
            result = 1;
        }
    } catch (...) {
        result = 0;
    }
    return result;
}
