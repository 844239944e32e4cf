#include <windows.h>

#include "frame/unique_resource.h"
#include "webserver/active_ds.h"
#include "webserver/com_policy.h"
#include "webserver/directory.h"
#include "webserver/web_server_queries.h"
#include "webserver/web_service_ptr.h"

namespace cvi {

int GetWebServiceMode() {
    int result = 0;
    const ActiveDs ads;
    if (!ads) return result;
    HostComScope com;
    unique_com<IADs> object;
    if (ads.ADsGetObject(kWebServicePath, kIID_IADs, object.put_as<void>()) != S_OK || !object) return result;

    WebServicePtr service(object.get());
    if (service) {
        unique_variant mode;
        if (service->GetCurrentMode(mode.get()) == S_OK) {
            switch (V_I4(mode.get())) {
                case 0: result = 5; break;  // IIS 5.0 isolation mode
                case 1: result = 6; break;  // worker process isolation mode
                default: break;
            }
        }
    }
    // The object goes first; the holder lets its own pointer go as it ends.
    object.reset();
    return result;
}

}  // namespace cvi
