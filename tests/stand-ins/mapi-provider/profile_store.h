// The stand-in's profile store, kept in the registry (see
// CVI_STAND_IN_STORE) so that profiles outlive MAPIUninitialize and the
// process, as real ones do.
#pragma once

#include <windows.h>
#include <mapix.h>

#include <string>
#include <vector>

#include "prop_cells.h"
#include "stand_in_control.h"

namespace standin {

struct StoredService {
    MAPIUID uid;
    std::string name;
    std::string displayName;
};

HRESULT StoreCreateProfile(const char* name);
HRESULT StoreDeleteProfile(const char* name);
bool StoreHasProfile(const char* name);
std::vector<std::string> StoreProfileNames();

HRESULT StoreAddService(const std::string& profile, const std::string& service, const std::string& displayName);
std::vector<StoredService> StoreServices(const std::string& profile);
bool StoreHasService(const std::string& profile, const MAPIUID& uid);
// The configured properties of a service (its profile section).
Row StoreSection(const std::string& profile, const MAPIUID& uid);
HRESULT StoreWriteSection(const std::string& profile, const MAPIUID& uid, const Row& cells);

}  // namespace standin
