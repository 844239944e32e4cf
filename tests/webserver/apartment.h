#pragma once

#include <string>

namespace cvi_test {

// "none", "STA" or "MTA": the calling thread's COM state.
std::string ApartmentOfThisThread();

}  // namespace cvi_test
