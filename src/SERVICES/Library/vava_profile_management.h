// MAPI profile work for the product's message service: creating a profile
// that holds the service configured with the setup's eight values, telling
// whether a profile exists, removing one, and reading back the stored
// configuration.
//
// Every failure is raised as an Exception record (exception.h). Operations
// release everything they obtained before a record leaves them.
#pragma once

#include <windows.h>
#include <mapix.h>

namespace cvi {

class VAVAProfileManagement {
public:
    virtual ~VAVAProfileManagement();

    static void InitMAPI();
    static void UninitMAPI();

    static void CreateServiceProfile(const char* profileName, const char* value1, const char* value2,
                                     const char* value3, const char* value4, LONG value5,
                                     const char* value6, const char* value7, const char* value8);
    static bool HasProfile(const char* profileName);

    // These expect MAPI to be initialised by the caller.
    static void RemoveProfile(const char* profileName);
    // The caller releases the returned interface.
    static IMsgServiceAdmin* OpenServiceAdmin(const char* profileName);
    // The section of the profile's one VAVA service; the caller releases it.
    static IProfSect* OpenServiceProfileSection(const char* profileName);
    static bool ServiceConfigurationMatches(const char* profileName, const char* value1,
                                            const char* value2, const char* value3, const char* value4,
                                            LONG value5, const char* value6, const char* value7,
                                            const char* value8);
};

}  // namespace cvi
