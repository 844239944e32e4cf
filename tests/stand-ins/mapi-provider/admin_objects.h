// The profile-administration object MAPIAdminProfiles hands out; it leads to
// the service administration, profile sections and tables.
#pragma once

#include <windows.h>
#include <mapix.h>

namespace standin {

IProfAdmin* NewProfAdmin();

}  // namespace standin
