// The library inside the processes that load it: a setup started from a
// folder that holds planted copies of system libraries, and hosts that have
// MinGW's shared C++ runtime loaded.
#include <gtest/gtest.h>

#include <string>

#include "support/test_support.h"

namespace {

using cvi_test::BinDir;
using cvi_test::RunCaptured;
using cvi_test::TempDir;

const char* const kPlanted[] = {"MAPI32.dll", "activeds.dll", "msi.dll"};

// The planted libraries that ran, by name.
std::string Marks(const TempDir& folder) {
    std::string ran;
    for (const char* name : kPlanted) {
        if (GetFileAttributesA(folder.file(std::string(name) + ".ran").c_str()) != INVALID_FILE_ATTRIBUTES)
            ran += std::string(ran.empty() ? "" : " ") + name;
    }
    return ran;
}

TEST(HostProcess, TakesNoLibraryFromTheHostsFolder) {
    TempDir downloads;
    for (const char* name : kPlanted)
        ASSERT_TRUE(CopyFileA((BinDir() + "\\planted_library.dll").c_str(), downloads.file(name).c_str(), FALSE));
    for (const char* name : {"host_caller.exe", "cvinst.exe", "CVINSTALLER.dll"})
        ASSERT_TRUE(CopyFileA((BinDir() + "\\" + name).c_str(), downloads.file(name).c_str(), FALSE));
    // Wine searches the host's folder first for these (see CMakeLists.txt).
    const std::vector<std::string> environment;
    std::string output;

    // A setup that loads the library from elsewhere by its full path.
    EXPECT_EQ(RunCaptured(downloads.file("host_caller.exe"), "every \"" + BinDir() + "\\CVINSTALLER.dll\"", output,
                          environment),
              0u)
        << output;
    // cvinst beside its own copy of the library, on every path that binds one.
    for (const char* command : {"report", "msi-mapi-props", "profile-exists host-planting"})
        RunCaptured(downloads.file("cvinst.exe"), command, output, environment);
    EXPECT_EQ(Marks(downloads), "") << "a planted library ran inside the host";

    // The control: a load by bare name does take the planted copies here.
    EXPECT_EQ(RunCaptured(downloads.file("host_caller.exe"), "bare -", output, environment), 0u) << output;
    EXPECT_EQ(Marks(downloads), "MAPI32.dll activeds.dll msi.dll") << "the planted libraries were not reachable, so the check above proved nothing";
}

TEST(HostProcess, ExceptionsInsideTheLibraryWorkWhateverRuntimeTheHostLoaded) {
    const std::string dll = "\"" + BinDir() + "\\CVINSTALLER.dll\"";
    const std::string runtime = "\"" + BinDir() + "\\shared-runtime\"";
    for (const char* mode : {"runtime-before", "runtime-after", "runtime-none"}) {
        std::string output;
        EXPECT_EQ(RunCaptured(BinDir() + "\\host_caller.exe", std::string(mode) + " " + dll + " " + runtime, output),
                  0u)
            << mode << ": " << output;
    }
}

}  // namespace
