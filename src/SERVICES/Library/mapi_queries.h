// Pieces shared by the profile-table and message-service-table queries.
#pragma once

#include <windows.h>
#include <mapix.h>

namespace cvi {

// The name the product's message service is known by to MAPI.
extern const char kServiceName[];

// The tags of the eight configuration values, in the order the setup passes
// them: written by CreateServiceProfile, read back by
// ServiceConfigurationMatches.
struct ServiceConfigurationTagArray {
    ULONG cValues;
    ULONG aulPropTag[8];
};
extern const ServiceConfigurationTagArray ServiceConfigurationTags;

// MAPI declares its inputs without const although it only reads them; this
// keeps the casts in one place.
inline LPSTR MapiText(const char* text) { return const_cast<LPSTR>(text); }

template <typename SizedTagArray>
LPSPropTagArray MapiColumns(const SizedTagArray& tags) {
    return reinterpret_cast<LPSPropTagArray>(const_cast<SizedTagArray*>(&tags));
}

// A whole-string, case-sensitive match of one narrow-string column. The
// restriction points into the object itself, so it is neither copied nor
// moved.
class StringContentRestriction {
public:
    StringContentRestriction(ULONG propTag, const char* value);
    StringContentRestriction(const StringContentRestriction&) = delete;
    StringContentRestriction& operator=(const StringContentRestriction&) = delete;

    LPSRestriction get() { return &restriction_; }

private:
    SPropValue value_;
    SRestriction restriction_;
};

// The service identifier of a row from a message-service query whose second
// column is PR_SERVICE_UID; null when the row does not carry a whole one.
LPMAPIUID ServiceUidOf(const SRow& row);

}  // namespace cvi
