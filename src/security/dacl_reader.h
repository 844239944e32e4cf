// Reading the DACL of the registry key or file a target text names.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

namespace cvi {

enum class DaclStatus {
    Entries,       // `dacl` points at the list
    NullDacl,      // present but null: denies nobody
    KeyNotOpened,  // the key does not open (missing, or not ours to read)
    Failed,        // the security information was not obtained; see `failure`
};

struct DaclReading {
    DaclStatus status = DaclStatus::Failed;
    std::string failure;  // the diagnostic text when Failed
    std::unique_ptr<BYTE[]> descriptor;
    PACL dacl = nullptr;  // points into `descriptor`
};

// Keys are opened for READ_CONTROL in the calling process's own view.
DaclReading ReadTargetDacl(const char* target);

}  // namespace cvi
