#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cvinstaller.h"
#include "process/process_control.h"
#include "support/test_support.h"

using cvi_test::Child;
using cvi_test::TempDir;

namespace {

// Copies of the sleeper under chosen names, started from a scratch folder.
class Sleepers {
public:
    std::unique_ptr<Child> start(const std::string& exeName) {
        const std::string exe = dir_.file(exeName);
        CopyFileA((cvi_test::BinDir() + "\\sleeper.exe").c_str(), exe.c_str(), FALSE);
        auto child = std::make_unique<Child>(exe, "60");
        EXPECT_TRUE(child->started()) << exeName;
        return child;
    }
    std::string path(const std::string& exeName) const { return dir_.file(exeName); }
    const TempDir& dir() const { return dir_; }

private:
    TempDir dir_;
};

// A name unique to this test process, so no other process can match.
std::string Unique(const std::string& stem) {
    return stem + std::to_string(GetCurrentProcessId());
}

bool EndsSoon(Child& c) { return c.wait(5000) != STILL_ACTIVE; }

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

TEST(KillProcessByFileName, MatchesAPartOfTheNameInAnyCase) {
    Sleepers s;
    const std::string tag = Unique("k");
    auto target = s.start("CVMTA" + tag + ".EXE");
    auto bystander = s.start("other" + tag + ".exe");

    EXPECT_EQ(KillProcessByFileName(("mta" + tag + ".exe").c_str()), 1);
    EXPECT_TRUE(EndsSoon(*target));
    EXPECT_EQ(target->wait(0), 0u) << "terminated with exit code 0";
    EXPECT_TRUE(bystander->running());
}

// Between the snapshot and the open, a matching process can end and its ID
// go to an unrelated process: the ID alone never decides. A process whose
// own name matches is still ended through the same step.
TEST(KillProcessByFileName, EndsAnIdOnlyWhileItsProcessStillHasAMatchingName) {
    Sleepers s;
    const std::string tag = Unique("reused");
    auto unrelated = s.start("unrelated" + tag + ".exe");
    cvi::TerminateIfStillNamed(unrelated->id(), ("cvmta" + tag).c_str());
    EXPECT_TRUE(unrelated->running()) << "a process that never matched was ended by its ID";

    auto target = s.start("cvmta" + tag + ".exe");
    cvi::TerminateIfStillNamed(target->id(), ("CVMTA" + tag).c_str());
    EXPECT_TRUE(EndsSoon(*target));
}

TEST(KillProcessByFileName, EndsEveryMatchingInstance) {
    Sleepers s;
    const std::string name = Unique("twin") + ".exe";
    auto first = s.start(name);
    auto second = s.start(name);
    EXPECT_EQ(KillProcessByFileName(name.c_str()), 1);
    EXPECT_TRUE(EndsSoon(*first));
    EXPECT_TRUE(EndsSoon(*second));
}

TEST(KillProcessByFileName, EmptyNullAndUnmatchedNamesEndNothingAndReturn1) {
    Sleepers s;
    auto survivor = s.start(Unique("survivor") + ".exe");
    EXPECT_EQ(KillProcessByFileName(""), 1);
    EXPECT_EQ(KillProcessByFileName(nullptr), 1);
    EXPECT_EQ(KillProcessByFileName(Unique("no-such-program").c_str()), 1);
    EXPECT_TRUE(survivor->running());
}

TEST(KillProcessByFileName, AProcessThatEndsAtOnceCostsOneShortWait) {
    Sleepers s;
    auto target = s.start(Unique("quick") + ".exe");
    const DWORD start = GetTickCount();
    EXPECT_EQ(KillProcessByFileName(Unique("quick").c_str()), 1);
    const DWORD elapsed = GetTickCount() - start;
    ::testing::Test::RecordProperty("kill_one_process_ms", static_cast<int>(elapsed));
    std::printf("KillProcessByFileName ending one process took %lu ms\n", elapsed);
    // The bounded retry loop alone would take over 5 s.
    EXPECT_LT(elapsed, 4000u);
    EXPECT_TRUE(EndsSoon(*target));
}

// Runs kill_runner (a host that calls the export) with its stdout in a file.
DWORD RunKillRunner(const std::string& runner, const std::string& arg, std::string& output) {
    return cvi_test::RunCaptured(runner, arg, output);
}

TEST(KillProcessByFileName, WritesEveryProcessNameInSnapshotOrder) {
    // Processes that live through both snapshots: their order is the
    // snapshot's. Other processes of the prefix may come and go meanwhile,
    // so only these are compared.
    Sleepers s;
    const std::string tag = Unique("listed");
    std::vector<std::string> names = {tag + "_c.exe", tag + "_a.exe", tag + "_b.exe"};
    std::vector<std::unique_ptr<Child>> children;
    for (const auto& n : names) children.push_back(s.start(n));

    std::vector<std::string> snapshotOrder;
    {
        HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        PROCESSENTRY32 e{};
        e.dwSize = sizeof e;
        for (BOOL ok = Process32First(snap, &e); ok; ok = Process32Next(snap, &e))
            if (std::find(names.begin(), names.end(), e.szExeFile) != names.end()) snapshotOrder.push_back(e.szExeFile);
        CloseHandle(snap);
    }
    ASSERT_EQ(snapshotOrder.size(), names.size());

    std::string output;
    // The argument matches the first sleeper only; every name is written.
    EXPECT_EQ(RunKillRunner(cvi_test::BinDir() + "\\kill_runner.exe", names[0], output), 1u);
    const auto lines = SplitLines(output);
    std::vector<std::string> written;
    // A process still starting has no image name yet: its line is empty.
    for (const auto& l : lines)
        if (std::find(names.begin(), names.end(), l) != names.end()) written.push_back(l);
    EXPECT_EQ(written, snapshotOrder) << output;
    EXPECT_NE(std::find(lines.begin(), lines.end(), "kill_runner.exe"), lines.end()) << output;
    EXPECT_TRUE(EndsSoon(*children[0]));
    EXPECT_TRUE(children[1]->running());
    EXPECT_TRUE(children[2]->running());
}

TEST(KillProcessByFileName, NeverEndsTheCallingProcess) {
    std::string output;
    // Matches kill_runner's own name: it must return 1 rather than die
    // (a terminated runner would exit with 0).
    EXPECT_EQ(RunKillRunner(cvi_test::BinDir() + "\\kill_runner.exe", "KILL_RUNNER", output), 1u);
    EXPECT_NE(output.find("kill_runner.exe"), std::string::npos);
}

TEST(KillProcessByFileName, OnWindowsNT4ReturnsZeroAtOnceAndWritesNothing) {
    Sleepers s;
    auto survivor = s.start(Unique("nt4target") + ".exe");
    // Wine reports the version configured for an executable name.
    const std::string runnerName = Unique("kill_runner_nt4") + ".exe";
    const std::string runner = s.dir().file(runnerName);
    ASSERT_TRUE(CopyFileA((cvi_test::BinDir() + "\\kill_runner.exe").c_str(), runner.c_str(), FALSE));
    const std::string appKey = "Software\\Wine\\AppDefaults\\" + runnerName;
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, appKey.c_str(), "Version", REG_SZ, "nt40", 5), ERROR_SUCCESS);

    std::string output;
    EXPECT_EQ(RunKillRunner(runner, Unique("nt4target"), output), 0u);
    EXPECT_EQ(output, "");
    EXPECT_TRUE(survivor->running());
    RegDeleteKeyA(HKEY_CURRENT_USER, appKey.c_str());
}

TEST(IsWindowsNT4OrEarlier, IsFalseOnCurrentWindows) { EXPECT_EQ(cvi::IsWindowsNT4OrEarlier(), 0); }

TEST(EnableDebugPrivilege, LeavesThePrivilegeEnabled) {
    cvi::EnableDebugPrivilege();
    HANDLE token;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
    LUID luid;
    ASSERT_TRUE(LookupPrivilegeValueA(nullptr, "SeDebugPrivilege", &luid));
    PRIVILEGE_SET set{1, PRIVILEGE_SET_ALL_NECESSARY, {{luid, 0}}};
    BOOL held = FALSE;
    ASSERT_TRUE(PrivilegeCheck(token, &set, &held));
    EXPECT_TRUE(held);
    CloseHandle(token);
}

}  // namespace
