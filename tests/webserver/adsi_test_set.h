// The stand-in directory's answers (a registry test set) and its counters.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <string>
#include <vector>

#include "apartment.h"

namespace cvi_test {

class AdsiTestSet {
public:
    AdsiTestSet();
    ~AdsiTestSet();
    AdsiTestSet(const AdsiTestSet&) = delete;
    AdsiTestSet& operator=(const AdsiTestSet&) = delete;

    void SetDword(const std::wstring& subKey, const wchar_t* name, DWORD value);
    void SetString(const std::wstring& subKey, const wchar_t* name, const std::wstring& value);
    void SetStrings(const std::wstring& subKey, const wchar_t* name, const std::vector<std::wstring>& values);
    // A WinNT user of `computer` and its groups.
    void AddUser(const std::wstring& computer, const std::wstring& user, const std::vector<std::wstring>& groups);
    void Clear();

    bool loaded() const { return live_ != nullptr; }
    // Stand-in objects alive now.
    LONG Live() const { return live_ ? live_() : -1; }
    // Path of the latest binding the stand-in saw.
    std::wstring LastPath() const;

private:
    HMODULE provider_ = nullptr;
    LONG(WINAPI* live_)() = nullptr;
    void(WINAPI* lastPath_)(wchar_t*, int) = nullptr;
};

// Every test leaves the thread's COM state as it found it (uninitialised) and
// no stand-in object alive.
class AdsiTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(set.loaded()) << "adsi_provider.dll not loadable";
        ASSERT_EQ(ApartmentOfThisThread(), "none");
    }
    void TearDown() override {
        EXPECT_EQ(set.Live(), 0) << "stand-in objects left alive";
        EXPECT_EQ(ApartmentOfThisThread(), "none") << "COM initialisation not balanced";
    }
    AdsiTestSet set;
};

}  // namespace cvi_test
