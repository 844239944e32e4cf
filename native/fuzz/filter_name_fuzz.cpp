// The expected filter name fits the block sized for it, loses at most one
// leading v, and the load-order classification agrees with a plain reading.
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "frame/find_string.h"
#include "fuzz_input.h"
#include "webserver/filter_names.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const std::string version = in.text(), loadOrder = in.text();

    const std::size_t blockSize = cvi::ExpectedFilterNameSize(version.c_str());
    std::vector<char> block(blockSize);  // exactly the size asked for
    cvi::FormatExpectedFilterName(version.c_str(), block.data(), block.size());
    std::string expected = "ASP.NET_";
    expected += (!version.empty() && (version[0] == 'v' || version[0] == 'V')) ? version.substr(1) : version;
    if (expected != block.data()) std::abort();

    const bool any = cvi::FindStringNoCase(loadOrder.c_str(), "ASP.NET") != nullptr;
    const bool versioned = cvi::FindStringNoCase(loadOrder.c_str(), expected.c_str()) != nullptr;
    const int withVersion = cvi::ClassifyFilterLoadOrder(loadOrder.c_str(), block.data());
    const int anyVersion = cvi::ClassifyFilterLoadOrder(loadOrder.c_str(), nullptr);
    if (withVersion != (!any ? 0 : versioned ? 2 : 1)) std::abort();
    if (anyVersion != (any ? 2 : 0)) std::abort();
    return 0;
}
