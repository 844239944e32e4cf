#include "webserver/web_service_ptr.h"

namespace cvi {

WebServicePtr::WebServicePtr(IUnknown* source) noexcept {
    if (source == nullptr) return;
    if (FAILED(source->QueryInterface(kIID_IISWebService, reinterpret_cast<void**>(&service_)))) {
        service_ = nullptr;
    }
}

WebServicePtr::~WebServicePtr() {
    if (service_ != nullptr) service_->Release();
}

}  // namespace cvi
