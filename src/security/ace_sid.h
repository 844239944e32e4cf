// Where the account of an access entry stands.
#pragma once

#include <windows.h>

namespace cvi {

// The SID of the access entry `ace`, or null when the entry carries none
// that can be read within its size. Object entries hold flags and up to two
// GUIDs between the access mask and the SID; taking the bytes right after
// the mask there would compare flags and GUIDs as if they were an account.
PSID AceSid(const ACE_HEADER* ace);

}  // namespace cvi
