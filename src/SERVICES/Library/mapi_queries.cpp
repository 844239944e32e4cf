#include "SERVICES/Library/mapi_queries.h"

#include <mapitags.h>

namespace cvi {

const char kServiceName[] = "VAVA";

const ServiceConfigurationTagArray ServiceConfigurationTags = {
    8, {0x6671001E, 0x6672001E, 0x6673001E, 0x6674001E, 0x66750003, 0x6676001E, 0x67F1001E, 0x6678001E}};

StringContentRestriction::StringContentRestriction(ULONG propTag, const char* value) {
    ZeroMemory(&value_, sizeof value_);
    value_.ulPropTag = propTag;
    value_.Value.lpszA = MapiText(value);

    ZeroMemory(&restriction_, sizeof restriction_);
    restriction_.rt = RES_CONTENT;
    restriction_.res.resContent.ulFuzzyLevel = FL_FULLSTRING;
    restriction_.res.resContent.ulPropTag = propTag;
    restriction_.res.resContent.lpProp = &value_;
}

LPMAPIUID ServiceUidOf(const SRow& row) {
    // A provider may leave a column out (PT_ERROR in its place) or hand a
    // short value; reading sixteen bytes from either would run off the data.
    if (row.cValues < 2 || !row.lpProps) return nullptr;
    const SPropValue& uid = row.lpProps[1];
    if (uid.ulPropTag != PR_SERVICE_UID || !uid.Value.bin.lpb || uid.Value.bin.cb < sizeof(MAPIUID))
        return nullptr;
    return reinterpret_cast<LPMAPIUID>(uid.Value.bin.lpb);
}

}  // namespace cvi
