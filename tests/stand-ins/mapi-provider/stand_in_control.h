// What a test sees of the MAPI provider stand-in. mapi32 loads the provider
// into the test process (the prefix's mail client names it through
// CVI_MAPI_PROVIDER), so a test reaches these functions with
// GetModuleHandle("mapi_provider.dll") and GetProcAddress.
#pragma once

#include <windows.h>

extern "C" {

struct StandInCounters {
    LONG liveObjects;         // interfaces handed out and not yet released
    LONG outstandingBuffers;  // MAPIAllocateBuffer blocks not yet freed
    LONG initBalance;         // successful MAPIInitialize minus MAPIUninitialize
};

// "StandInArm": from now on `call` (e.g. "MAPIAdminProfiles",
// "IProfAdmin::CreateProfile", "HrQueryAllRows") does none of its work and
// returns `result`; a non-negative result makes it answer with nothing (no
// object, an empty row set, no service added). A null `call` disarms.
typedef void(WINAPI* StandInArmFn)(const char* call, HRESULT result);

// "StandInCounters": the live counters.
typedef void(WINAPI* StandInCountersFn)(StandInCounters* counters);

// "StandInTakeJournal": copies the events since the last take, each ended
// by ';', into `buffer` (truncated to fit), clears them and returns the
// length of the whole journal. Without a buffer it only tells the length.
typedef DWORD(WINAPI* StandInTakeJournalFn)(char* buffer, DWORD size);
}

// Profiles live below HKEY_CURRENT_USER\<this>\<profile name>; each service
// is a subkey named by its identifier in hexadecimal, holding "ServiceName",
// "DisplayName" and one value per configured property, named by its tag
// ("%08lX"): REG_SZ for PT_STRING8, REG_DWORD for PT_LONG, REG_BINARY for
// PT_BINARY.
#define CVI_STAND_IN_STORE "Software\\CVINSTALLER-tests\\mapi-profiles"
