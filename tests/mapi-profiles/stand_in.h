// Test access to the MAPI provider stand-in that mapi32 loaded into this
// process, and a fixture that hands out unique profile names and removes
// the profiles afterwards.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "stand-ins/mapi-provider/stand_in_control.h"

namespace cvi_test {

class StandIn {
public:
    StandIn();
    bool loaded() const { return arm_ && counters_ && journal_; }
    void Arm(const char* call, HRESULT result) const { arm_(call, result); }
    void Disarm() const { arm_(nullptr, S_OK); }
    StandInCounters Counters() const;
    // The events since the last call.
    std::string TakeJournal() const;

private:
    StandInArmFn arm_ = nullptr;
    StandInCountersFn counters_ = nullptr;
    StandInTakeJournalFn journal_ = nullptr;
};

class MapiProfileTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A profile name no other test process uses; its profile is removed
    // from the store when the test ends.
    std::string UniqueName(const char* tag);
    // No interface, buffer or MAPI initialisation is left over.
    void ExpectNothingHeld() const;
    // The store's key of a profile's only service (empty when it has none).
    std::string ServiceKey(const std::string& profile) const;

    StandIn standIn;

private:
    std::vector<std::string> names_;
};

}  // namespace cvi_test
