// Naming and recognising the web service's ASP.NET filters. Free of any
// Windows dependency so it can be tested and fuzzed natively.
#pragma once

#include <cstddef>

namespace cvi {

// Results of the filter check, as the setup reads them.
enum FilterCheck {
    kNoAspNetFilter = 0,
    kOtherAspNetVersion = 1,
    kAspNetFilterFound = 2,
    kFilterListUnreadable = 3,
};

// Bytes a block needs for the expected name of `version` (never null): the
// version's length plus "ASP.NET_" plus the terminator. 0 when that size
// cannot be represented.
std::size_t ExpectedFilterNameSize(const char* version);

// Writes "ASP.NET_" and `version` without one leading "v" or "V" into
// `block` of `size` bytes (as given by ExpectedFilterNameSize). So "V1.1" and
// "1.1" name the same filter, while "vv1.1" keeps its second "v".
void FormatExpectedFilterName(const char* version, char* block, std::size_t size);

// Classifies a filter load order (the filter names as one text, never split):
// no "ASP.NET" in it, "ASP.NET" but not `expectedName`, or "ASP.NET" and
// `expectedName` (or no expected name at all, when it is null). Matching
// ignores case, and a name that merely begins with `expectedName` counts.
FilterCheck ClassifyFilterLoadOrder(const char* loadOrder, const char* expectedName);

}  // namespace cvi
