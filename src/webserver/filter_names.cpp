#include "webserver/filter_names.h"

#include <cstring>

#include "frame/find_string.h"
#include "frame/format_bounded.h"

namespace cvi {
namespace {

const char kAspNetMarker[] = "ASP.NET";
const char kVersionedPrefix[] = "ASP.NET_";

}  // namespace

std::size_t ExpectedFilterNameSize(const char* version) {
    const std::size_t length = std::strlen(version);
    const std::size_t extra = sizeof kVersionedPrefix;  // prefix and terminator
    if (length > static_cast<std::size_t>(-1) - extra) return 0;
    return length + extra;
}

void FormatExpectedFilterName(const char* version, char* block, std::size_t size) {
    if (version[0] == 'v' || version[0] == 'V') ++version;
    FormatBounded(block, size, "%s%s", kVersionedPrefix, version);
}

FilterCheck ClassifyFilterLoadOrder(const char* loadOrder, const char* expectedName) {
    const char* firstAspNet = FindStringNoCase(loadOrder, kAspNetMarker);
    if (firstAspNet == nullptr) return kNoAspNetFilter;
    if (expectedName == nullptr) return kAspNetFilterFound;
    // Every versioned name begins with the marker, so searching from its
    // first occurrence still sees every candidate.
    if (FindStringNoCase(firstAspNet, expectedName) != nullptr) return kAspNetFilterFound;
    return kOtherAspNetVersion;
}

}  // namespace cvi
