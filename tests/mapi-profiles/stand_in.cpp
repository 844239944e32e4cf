#include "stand_in.h"

namespace cvi_test {

namespace {

template <typename Fn>
Fn Lookup(const char* name) {
    // The library holds mapi32 only for the length of a call; the test keeps
    // it loaded, so the provider it loads (and its counters) live on between
    // calls.
    LoadLibraryA("mapi32.dll");
    HMODULE provider = GetModuleHandleA("mapi_provider.dll");
    return provider ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(provider, name))) : nullptr;
}

}  // namespace

StandIn::StandIn()
    : arm_(Lookup<StandInArmFn>("StandInArm")),
      counters_(Lookup<StandInCountersFn>("StandInCounters")),
      journal_(Lookup<StandInTakeJournalFn>("StandInTakeJournal")) {}

StandInCounters StandIn::Counters() const {
    StandInCounters c{-1, -1, -1};
    counters_(&c);
    return c;
}

std::string StandIn::TakeJournal() const {
    std::string text(journal_(nullptr, 0) + 1, '\0');
    text.resize(journal_(&text[0], static_cast<DWORD>(text.size())));
    return text;
}

void MapiProfileTest::SetUp() {
    ASSERT_TRUE(standIn.loaded()) << "mapi32 did not load the provider named by CVI_MAPI_PROVIDER";
    standIn.Disarm();
    standIn.TakeJournal();
}

void MapiProfileTest::TearDown() {
    if (!standIn.loaded()) return;
    standIn.Disarm();
    for (const std::string& name : names_)
        RegDeleteTreeA(HKEY_CURRENT_USER, (std::string(CVI_STAND_IN_STORE) + "\\" + name).c_str());
}

std::string MapiProfileTest::UniqueName(const char* tag) {
    // Wine reuses process ids soon, and a crashed run leaves its profiles
    // behind, so the start time makes the names unique as well.
    static const std::string run = std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount());
    static int count = 0;
    names_.push_back("cvi-" + run + "-" + std::to_string(++count) + "-" + tag);
    return names_.back();
}

void MapiProfileTest::ExpectNothingHeld() const {
    const StandInCounters c = standIn.Counters();
    EXPECT_EQ(c.liveObjects, 0) << "interfaces not released";
    EXPECT_EQ(c.outstandingBuffers, 0) << "MAPI buffers not freed";
    EXPECT_EQ(c.initBalance, 0) << "MAPIInitialize and MAPIUninitialize unbalanced";
}

std::string MapiProfileTest::ServiceKey(const std::string& profile) const {
    const std::string path = std::string(CVI_STAND_IN_STORE) + "\\" + profile;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return "";
    char name[64] = {};
    DWORD size = sizeof name;
    const bool found = RegEnumKeyExA(key, 0, name, &size, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(key);
    return found ? path + "\\" + name : "";
}

}  // namespace cvi_test
