// Owning holder of the web service's IISWebService interface.
#pragma once

#include <windows.h>

#include "webserver/directory.h"

namespace cvi {

class WebServicePtr {
public:
    WebServicePtr() noexcept = default;
    // Asks `source` for IISWebService; stays empty when it is not offered.
    explicit WebServicePtr(IUnknown* source) noexcept;
    ~WebServicePtr();
    WebServicePtr(const WebServicePtr&) = delete;
    WebServicePtr& operator=(const WebServicePtr&) = delete;

    bool operator==(const IISWebService* other) const noexcept { return service_ == other; }
    bool operator!=(const IISWebService* other) const noexcept { return service_ != other; }
    explicit operator bool() const noexcept { return service_ != nullptr; }
    IISWebService* get() const noexcept { return service_; }
    IISWebService* operator->() const noexcept { return service_; }

private:
    IISWebService* service_ = nullptr;
};

}  // namespace cvi
