// GetADSIStatus and IIS_CheckNetFilters through the system's ADsGetObject and
// the stand-in directory.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "adsi_test_set.h"
#include "cvinstaller.h"
#include "webserver/net_filters.h"

namespace {

using cvi_test::AdsiTest;

class ADSIStatus : public AdsiTest {};

TEST_F(ADSIStatus, Is1WhenTheWebServiceBinds) {
    EXPECT_EQ(GetADSIStatus(), 1);
    EXPECT_EQ(set.LastPath(), L"IIS://localhost/W3SVC");
}

TEST_F(ADSIStatus, Is0WhenTheProviderFailsOrAnswersAnythingButS_OK) {
    set.SetDword(L"", L"OpenResult", static_cast<DWORD>(E_FAIL));
    EXPECT_EQ(GetADSIStatus(), 0);
    set.SetDword(L"", L"OpenResult", static_cast<DWORD>(S_FALSE));
    EXPECT_EQ(GetADSIStatus(), 0);
}

class NetFilters : public AdsiTest {
protected:
    int Check(const std::wstring& loadOrder, const char* version) {
        set.SetString(L"Filters", L"FilterLoadOrder", loadOrder);
        return IIS_CheckNetFilters(version);
    }
};

TEST_F(NetFilters, WithoutVersionAnyAspNetFilterCounts) {
    EXPECT_EQ(Check(L"sspifilt,Compression,ASP.NET_2.0.50727.0", nullptr), 2);
    EXPECT_EQ(Check(L"sspifilt,Compression", nullptr), 0);
    EXPECT_EQ(Check(L"", nullptr), 0);
    EXPECT_EQ(Check(L"md5filt,asp.net", nullptr), 2);
}

TEST_F(NetFilters, VersionFormsNameTheExpectedFilter) {
    const std::wstring list = L"sspifilt,ASP.NET_1.1.4322,Compression";
    EXPECT_EQ(Check(list, "V1.1"), 2);
    EXPECT_EQ(Check(list, "1.1"), 2);
    EXPECT_EQ(Check(list, "v1.1"), 2);
    EXPECT_EQ(Check(list, "vv1.1"), 1) << "only one leading v is stripped";
    EXPECT_EQ(Check(L"x,ASP.NET_v1.1", "vv1.1"), 2);
    EXPECT_EQ(Check(list, "2.0"), 1);
    EXPECT_EQ(Check(L"Compression", "1.1"), 0);
}

TEST_F(NetFilters, EmptyVersionOrJustVMatchesAnyVersionedFilter) {
    EXPECT_EQ(Check(L"a,ASP.NET_4.0", ""), 2);
    EXPECT_EQ(Check(L"a,ASP.NET_4.0", "v"), 2);
    EXPECT_EQ(Check(L"a,ASP.NET", ""), 1);
    EXPECT_EQ(Check(L"a,ASP.NET", "V"), 1);
}

TEST_F(NetFilters, MatchingIgnoresCaseAndAcceptsALongerName) {
    EXPECT_EQ(Check(L"asp.net_2.0", "2.0"), 2);
    EXPECT_EQ(Check(L"ASP.NET_2.0.1", "2.0"), 2);
    EXPECT_EQ(Check(L"ASP.NET_1.1,ASP.NET_2.0", "V2.0"), 2) << "a later occurrence is found";
}

TEST_F(NetFilters, UnreadableListGives3) {
    set.SetDword(L"", L"OpenResult", static_cast<DWORD>(E_FAIL));
    EXPECT_EQ(IIS_CheckNetFilters(nullptr), 3) << "collection not bound";
    set.Clear();
    EXPECT_EQ(IIS_CheckNetFilters("2.0"), 3) << "no FilterLoadOrder";
    EXPECT_EQ(set.LastPath(), L"IIS://localhost/W3SVC/Filters");
    set.SetDword(L"Filters", L"FilterLoadOrder", 7);
    EXPECT_EQ(IIS_CheckNetFilters(nullptr), 3) << "not a string";
    set.SetString(L"Filters", L"FilterLoadOrder", L"ASP.NET_2.0");
    set.SetDword(L"Filters", L"GetResult", static_cast<DWORD>(S_FALSE));
    EXPECT_EQ(IIS_CheckNetFilters(nullptr), 3) << "Get answered S_FALSE";
}

TEST_F(NetFilters, ALongListIsExaminedAsFarAs2047CharactersReach) {
    const std::wstring name = L"ASP.NET_2.0";
    // The expected name ends exactly at character 2047: found.
    EXPECT_EQ(Check(std::wstring(2047 - name.size(), L'x') + name + L",more", "2.0"), 2);
    // One character later its last character is cut off.
    EXPECT_EQ(Check(std::wstring(2048 - name.size(), L'x') + name, "2.0"), 1);
    // The marker itself beyond the reach.
    EXPECT_EQ(Check(std::wstring(2045, L'x') + name, nullptr), 0);
}

TEST_F(NetFilters, NoBlockForTheExpectedNameGives3WithoutTouchingTheDirectory) {
    set.SetString(L"Filters", L"FilterLoadOrder", L"ASP.NET_2.0");
    auto noMemory = [](std::size_t) -> void* { return nullptr; };
    EXPECT_EQ(cvi::CheckNetFilters("2.0", noMemory), 3);
    EXPECT_EQ(set.LastPath(), L"") << "the directory was asked";
    EXPECT_EQ(cvi::CheckNetFilters(nullptr, noMemory), 2) << "no version needs no block";
}

}  // namespace
