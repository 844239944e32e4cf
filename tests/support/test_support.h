// Shared helpers for tests running under Wine: child processes, scratch
// folders and the build's bin folder.
#pragma once

#include <windows.h>

#include "process_accounting.h"

#include <string>
#include <vector>

namespace cvi_test {

// Folder of the running test program (the build's bin folder).
std::string BinDir();

// A scratch folder below %TEMP%, removed with its content on destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

// Removes a folder and everything below it.
void RemoveTree(const std::string& path);

// Reads a whole file; empty when it does not exist.
std::string ReadFile(const std::string& path);

// A child process. Started suspended-free; ended (if still running) and its
// handles closed on destruction.
class Child {
public:
    // `commandLine` is passed as is. When `stdoutFile` is not empty, the
    // child's standard output goes to that file. `environment`, when not
    // empty, replaces the child's environment ("NAME=value" entries).
    Child(const std::string& exe, const std::string& commandLine,
          const std::string& stdoutFile = "",
          const std::vector<std::string>& environment = {});
    ~Child();
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    bool started() const { return process_ != nullptr; }
    DWORD id() const { return id_; }
    HANDLE handle() const { return process_; }
    bool running() const;
    // Waits up to `ms`; returns the exit code, or STILL_ACTIVE on timeout.
    DWORD wait(DWORD ms);

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

// Runs `exe` with `args`, stdout to a file; returns the exit code and fills
// `output` with what it wrote.
DWORD RunCaptured(const std::string& exe, const std::string& args, std::string& output,
                  const std::vector<std::string>& environment = {}, DWORD timeoutMs = 60000);

// What the process holds (tools/process_accounting.h).
using cvi_tools::CountOpenHandles;
using cvi_tools::HeapInUse;

// The current environment as "NAME=value" entries, with `overrides` applied
// ("NAME=value" sets, "NAME=" with nothing after removes).
std::vector<std::string> EnvironmentWith(const std::vector<std::string>& overrides);

}  // namespace cvi_test
