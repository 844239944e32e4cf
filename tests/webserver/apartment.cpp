#include "apartment.h"

#include <windows.h>
#include <objbase.h>

namespace cvi_test {

std::string ApartmentOfThisThread() {
    APTTYPE type{};
    APTTYPEQUALIFIER qualifier{};
    const HRESULT hr = CoGetApartmentType(&type, &qualifier);
    if (hr == CO_E_NOTINITIALIZED) return "none";
    if (FAILED(hr)) return "error";
    switch (type) {
        case APTTYPE_STA:
        case APTTYPE_MAINSTA: return "STA";
        case APTTYPE_MTA: return qualifier == APTTYPEQUALIFIER_IMPLICIT_MTA ? "implicit MTA" : "MTA";
        default: return "other";
    }
}

}  // namespace cvi_test
