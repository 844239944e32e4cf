// Inspection of the access list (DACL) of a registry key or a file, and the
// account of the current token. Targets are read as security_target.h says.
#pragma once

#include <windows.h>

#include <string>

#include "security/dacl_messages.h"

namespace cvi {

// Result for a target whose security information was not obtained.
constexpr LONG kSecurityUnavailable = E_FAIL;  // 0x80004005

// 1: no explicit entry follows an inherited one (also for an empty or null
// DACL); 0: one does, or the key does not open; kSecurityUnavailable.
// Deny and allow entries are not told apart.
LONG CheckDaclOrder(const char* target);

// 1: an entry names `account`; 0: none does, the key does not open, or the
// account or system name is refused; kSecurityUnavailable. `diagnostic` is
// replaced with a text saying why.
// By default entries are compared by SID with the account as the local
// computer resolves it. With `resolveByName` each entry's SID is resolved
// on `systemName` (the local computer when null or empty) and its bare
// account name compared without regard to case; the account itself is then
// never looked up. `systemName` may hold at most 499 characters.
LONG FindAccountInDacl(const char* account, const char* target, std::string& diagnostic,
                       int resolveByName, const char* systemName = nullptr);

// FindAccountInDacl by SID, without its text.
LONG IsAccountInDacl(const char* account, const char* target);

// The walk of FindAccountInDacl over one list. `accountSid` is used in SID
// mode; in resolve-by-name mode `lookupSystem` is where entry SIDs are
// resolved ("" for the local computer) and `givenSystemName` (null when
// none was given) is what the final text names.
LONG SearchDaclForAccount(const ACL* dacl, const char* account, PSID accountSid,
                          bool resolveByName, const char* lookupSystem,
                          const char* givenSystemName, std::string& diagnostic);

// 1 when no explicit entry of `dacl` follows an inherited one, else 0.
LONG CheckAceOrder(const ACL* dacl);

// Fills the caller's buffers with the account name and domain of the
// thread's impersonation token, or of the process token when the thread
// does not impersonate. The capacities (in characters) are read and updated
// as LookupAccountSidA does. 1: obtained; 0: not.
int GetCurrentTokenUserName(char* name, DWORD* nameCapacity, char* domain,
                            DWORD* domainCapacity);

}  // namespace cvi
