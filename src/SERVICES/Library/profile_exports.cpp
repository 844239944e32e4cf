// CreateProfile and ProfileExists: one MAPI session each, every failure
// turned into 0.
#include "cvinstaller.h"

#include "SERVICES/Library/vava_profile_management.h"

using cvi::VAVAProfileManagement;

namespace {

// Runs `work` between MAPI's initialisation and uninitialisation. 1 when it
// completed; 0 when MAPI could not be initialised (nothing to undo then) or
// when `work` raised anything, the error record included.
template <typename Work>
int InMapiSession(Work work) {
    try {
        VAVAProfileManagement::InitMAPI();
    } catch (...) {
        return 0;
    }
    int result = 1;
    try {
        work();
    } catch (...) {
        result = 0;
    }
    VAVAProfileManagement::UninitMAPI();
    return result;
}

}  // namespace

extern "C" int WINAPI CreateProfile(const char* profileName, const char* value1, const char* value2,
                                    const char* value3, const char* value4, LONG value5,
                                    const char* value6, const char* value7, const char* value8) {
    // MAPI would dereference a null name; the setup gets a plain failure.
    if (!profileName) return 0;
    return InMapiSession([&] {
        VAVAProfileManagement::CreateServiceProfile(profileName, value1, value2, value3, value4, value5, value6,
                                                    value7, value8);
    });
}

extern "C" int WINAPI ProfileExists(const char* profileName, int* exists) {
    if (!profileName || !exists) return 0;
    // The answer is written only once it is known.
    return InMapiSession([&] { *exists = VAVAProfileManagement::HasProfile(profileName) ? 1 : 0; });
}
