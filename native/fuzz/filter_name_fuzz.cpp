// The expected filter name fills the block sized for it (less the byte of a
// dropped v), keeps the version but for at most one leading v, and the
// load-order classification is consistent between the versioned and the
// any-version question.
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
    const std::size_t length = std::strlen(block.data());  // terminated within the block
    if (length >= blockSize || std::strncmp(block.data(), "ASP.NET_", 8) != 0) std::abort();
    const std::string kept(block.data() + 8);
    const bool dropped = kept.size() + 1 == version.size();
    if (kept.size() != version.size() && !dropped) std::abort();
    if (dropped && (version[0] != 'v' && version[0] != 'V')) std::abort();
    if (version.compare(dropped ? 1 : 0, std::string::npos, kept) != 0) std::abort();
    if (length + 1 + (dropped ? 1 : 0) != blockSize) std::abort();

    const int withVersion = cvi::ClassifyFilterLoadOrder(loadOrder.c_str(), block.data());
    const int anyVersion = cvi::ClassifyFilterLoadOrder(loadOrder.c_str(), nullptr);
    if (anyVersion != 0 && anyVersion != 2) std::abort();
    if ((withVersion == 0) != (anyVersion == 0)) std::abort();
    if (withVersion == 2 && !cvi::FindStringNoCase(loadOrder.c_str(), block.data())) std::abort();
    return 0;
}
