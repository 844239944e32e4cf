#include "support/test_support.h"

#include "program_folder.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>

namespace cvi_test {

std::string BinDir() { return cvi_tools::ProgramFolder(); }

TempDir::TempDir() {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    static LONG counter = 0;
    for (;;) {
        path_ = std::string(base) + "cvi_" + std::to_string(GetCurrentProcessId()) + "_" +
                std::to_string(InterlockedIncrement(&counter));
        if (CreateDirectoryA(path_.c_str(), nullptr)) break;
    }
}

TempDir::~TempDir() { RemoveTree(path_); }

void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((path + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = fd.cFileName;
            if (name == "." || name == "..") continue;
            std::string full = path + "\\" + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(full);
            } else {
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(full.c_str());
            }
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    // Another process enumerating the folder at this moment (a test calling
    // an export that scans it) holds it open for a moment; wait that out.
    for (int attempt = 0; attempt < 100 && !RemoveDirectoryA(path.c_str()); ++attempt) {
        if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) break;
        Sleep(20);
    }
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

Child::Child(const std::string& exe, const std::string& commandLine, const std::string& stdoutFile,
             const std::vector<std::string>& environment) {
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    HANDLE out = nullptr;
    if (!stdoutFile.empty()) {
        SECURITY_ATTRIBUTES sa{sizeof(sa), nullptr, TRUE};
        out = CreateFileA(stdoutFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &sa, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdOutput = out;
        si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
        si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    }
    std::string block;
    for (const auto& e : environment) block += e + '\0';
    block += '\0';
    std::string cmd = "\"" + exe + "\" " + commandLine;
    std::vector<char> cmdBuf(cmd.begin(), cmd.end());
    cmdBuf.push_back('\0');
    PROCESS_INFORMATION pi{};
    if (CreateProcessA(exe.c_str(), cmdBuf.data(), nullptr, nullptr, out != nullptr, 0,
                       environment.empty() ? nullptr : block.data(), nullptr, &si, &pi)) {
        CloseHandle(pi.hThread);
        process_ = pi.hProcess;
        id_ = pi.dwProcessId;
    }
    if (out) CloseHandle(out);
}

Child::~Child() {
    if (!process_) return;
    if (running()) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
}

bool Child::running() const {
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

DWORD Child::wait(DWORD ms) {
    if (WaitForSingleObject(process_, ms) != WAIT_OBJECT_0) return STILL_ACTIVE;
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return code;
}

DWORD RunCaptured(const std::string& exe, const std::string& args, std::string& output,
                  const std::vector<std::string>& environment, DWORD timeoutMs) {
    TempDir dir;
    const std::string file = dir.file("stdout.txt");
    DWORD code;
    {
        Child child(exe, args, file, environment);
        if (!child.started()) return static_cast<DWORD>(-1);
        code = child.wait(timeoutMs);
    }
    output = ReadFile(file);
    return code;
}

std::vector<std::string> EnvironmentWith(const std::vector<std::string>& overrides) {
    std::vector<std::string> env;
    char* block = GetEnvironmentStringsA();
    for (const char* p = block; *p; p += std::strlen(p) + 1) env.emplace_back(p);
    FreeEnvironmentStringsA(block);
    for (const auto& o : overrides) {
        const std::string key = o.substr(0, o.find('=') + 1);
        env.erase(std::remove_if(env.begin(), env.end(),
                                 [&](const std::string& e) {
                                     return _strnicmp(e.c_str(), key.c_str(), key.size()) == 0;
                                 }),
                  env.end());
        if (o.size() > key.size()) env.push_back(o);
    }
    return env;
}

}  // namespace cvi_test
