#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "security/access_control.h"

namespace {

std::string ProcessUser() {
    char name[256];
    DWORD size = sizeof(name);
    EXPECT_TRUE(GetUserNameA(name, &size));
    return name;
}

TEST(GetCurrentTokenUserName, NamesTheProcessUserAndTheImpersonatedOne) {
    char name[260];
    char domain[260];
    DWORD nameCapacity = sizeof(name);
    DWORD domainCapacity = sizeof(domain);
    ASSERT_EQ(cvi::GetCurrentTokenUserName(name, &nameCapacity, domain, &domainCapacity), 1);
    EXPECT_EQ(std::string(name), ProcessUser());
    EXPECT_GT(std::strlen(domain), 0u);

    ASSERT_TRUE(ImpersonateSelf(SecurityImpersonation));
    HANDLE threadToken = nullptr;
    EXPECT_TRUE(OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &threadToken));
    if (threadToken) CloseHandle(threadToken);
    nameCapacity = sizeof(name);
    domainCapacity = sizeof(domain);
    const int impersonated = cvi::GetCurrentTokenUserName(name, &nameCapacity, domain, &domainCapacity);
    RevertToSelf();
    EXPECT_EQ(impersonated, 1);
    EXPECT_EQ(std::string(name), ProcessUser());
}

TEST(GetCurrentTokenUserName, TooSmallANameBufferGivesZeroAndTheNeededCapacity) {
    char name[1] = {'#'};
    char domain[260];
    DWORD nameCapacity = sizeof(name);
    DWORD domainCapacity = sizeof(domain);
    EXPECT_EQ(cvi::GetCurrentTokenUserName(name, &nameCapacity, domain, &domainCapacity), 0);
    EXPECT_EQ(nameCapacity, ProcessUser().size() + 1);
}

}  // namespace
