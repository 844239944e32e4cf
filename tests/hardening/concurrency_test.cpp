// Eight threads calling exports at once, each in its own COM apartment, get
// the answers a single thread gets.
#include <gtest/gtest.h>

#include <objbase.h>

#include <atomic>
#include <functional>
#include <vector>

#include "frame/unique_resource.h"
#include "hardening/dll_under_test.h"

namespace {

using cvi_test::Dll;

constexpr int kThreads = 8;
constexpr int kRounds = 25;

// Threads come from the system itself: the C++ runtime of this build (the
// one the DLL ships with) has no std::thread.
struct Worker {
    int index;
    const std::function<void(int)>* body;
};

DWORD WINAPI RunWorker(void* param) {
    const auto* w = static_cast<const Worker*>(param);
    (*w->body)(w->index);
    return 0;
}

TEST(Concurrency, EightThreadsGetTheSingleThreadedAnswers) {
    Dll dll;
    CVI_REQUIRE_EXPORT(dll, RegistryKeyExists);
    auto IIS_CheckNetFilters =
        reinterpret_cast<decltype(&::IIS_CheckNetFilters)>(reinterpret_cast<void*>(dll.proc("IIS_CheckNetFilters")));
    auto ProfileExists =
        reinterpret_cast<decltype(&::ProfileExists)>(reinterpret_cast<void*>(dll.proc("ProfileExists")));
    auto CheckForASPNETISAPI =
        reinterpret_cast<decltype(&::CheckForASPNETISAPI)>(reinterpret_cast<void*>(dll.proc("CheckForASPNETISAPI")));

    struct Answers {
        int keyPresent = -1, keyAbsent = -1, filters = -1, profileCall = -1, profile = -1, isapi = -1;
        bool operator==(const Answers& o) const {
            return keyPresent == o.keyPresent && keyAbsent == o.keyAbsent && filters == o.filters &&
                   profileCall == o.profileCall && profile == o.profile && isapi == o.isapi;
        }
    };
    auto ask = [&] {
        Answers a;
        a.keyPresent = RegistryKeyExists("Software\\Microsoft");
        a.keyAbsent = RegistryKeyExists("Software\\CVINSTALLER-tests\\never-created");
        if (IIS_CheckNetFilters) a.filters = IIS_CheckNetFilters("2.0");
        if (ProfileExists) a.profileCall = ProfileExists("concurrency-profile", &a.profile);
        if (CheckForASPNETISAPI) a.isapi = CheckForASPNETISAPI();
        return a;
    };

    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const Answers expected = ask();
    CoUninitialize();
    EXPECT_EQ(expected.keyPresent, 1);
    EXPECT_EQ(expected.keyAbsent, 0);

    std::atomic<int> mismatches{0};
    const std::function<void(int)> body = [&](int t) {
        CoInitializeEx(nullptr, t % 2 ? COINIT_MULTITHREADED : COINIT_APARTMENTTHREADED);
        for (int r = 0; r < kRounds; ++r)
            if (!(ask() == expected)) ++mismatches;
        CoUninitialize();
    };
    std::vector<Worker> workers;
    for (int t = 0; t < kThreads; ++t) workers.push_back({t, &body});
    std::vector<cvi::unique_handle> threads;
    std::vector<HANDLE> started;
    for (auto& w : workers) {
        threads.emplace_back(CreateThread(nullptr, 0, RunWorker, &w, 0, nullptr));
        if (threads.back()) started.push_back(threads.back().get());
    }
    EXPECT_EQ(started.size(), static_cast<size_t>(kThreads));
    EXPECT_EQ(WaitForMultipleObjects(static_cast<DWORD>(started.size()), started.data(), TRUE, INFINITE),
              WAIT_OBJECT_0);
    EXPECT_EQ(mismatches.load(), 0);
}

}  // namespace
