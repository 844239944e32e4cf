// The built DLL as a caller sees it: loading, thread notifications, and the
// calling convention of its exports.
#include <gtest/gtest.h>

#include <winternl.h>

#include <string>

#include "support/test_support.h"

namespace {

struct Library {
    HMODULE module = LoadLibraryA((cvi_test::BinDir() + "\\CVINSTALLER.dll").c_str());
    ~Library() {
        if (module) FreeLibrary(module);
    }
};

// The loader's own record of the module (the layout common to Windows and
// Wine); Flags carries LDR_NO_DLL_CALLS once thread notifications are off.
struct LoaderEntry {
    LIST_ENTRY inLoadOrder, inMemoryOrder, inInitOrder;
    void* base;
    void* entryPoint;
    ULONG sizeOfImage;
    UNICODE_STRING fullName, baseName;
    ULONG flags;
};
constexpr ULONG kNoDllCalls = 0x00040000;

const LoaderEntry* FindLoaderEntry(HMODULE module) {
    const PEB* peb = nullptr;
#ifdef _WIN64
    __asm__("movq %%gs:0x60, %0" : "=r"(peb));
#else
    __asm__("movl %%fs:0x30, %0" : "=r"(peb));
#endif
    const LIST_ENTRY* head = &peb->Ldr->InMemoryOrderModuleList;
    for (const LIST_ENTRY* e = head->Flink; e != head; e = e->Flink) {
        const auto* entry = CONTAINING_RECORD(e, LoaderEntry, inMemoryOrder);
        if (entry->base == module) return entry;
    }
    return nullptr;
}

TEST(Loading, TurnsThreadNotificationsOffForItself) {
    Library lib;
    ASSERT_NE(lib.module, nullptr);
    const LoaderEntry* entry = FindLoaderEntry(lib.module);
    ASSERT_NE(entry, nullptr);
    EXPECT_NE(entry->flags & kNoDllCalls, 0u) << "DisableThreadLibraryCalls did not take effect";
    // The loader refuses the call for images with a TLS directory; asking
    // again must succeed.
    EXPECT_TRUE(DisableThreadLibraryCalls(lib.module));
}

TEST(Loading, ImageHasNoTlsDirectory) {
    Library lib;
    ASSERT_NE(lib.module, nullptr);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(lib.module);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        reinterpret_cast<const BYTE*>(lib.module) + dos->e_lfanew);
    EXPECT_EQ(nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_TLS].VirtualAddress, 0u);
}

using ProfileExistsFn = int(WINAPI*)(const char*, int*);

DWORD WINAPI DoNothing(LPVOID) { return 0; }

DWORD WINAPI RaiseInsideTheLibrary(LPVOID profileExists) {
    int exists = 0;
    // No MAPI provider here: the profile code raises and handles a failure,
    // which gives this thread a record of exceptions in flight.
    return static_cast<DWORD>(reinterpret_cast<ProfileExistsFn>(profileExists)("thread-end", &exists));
}

size_t HeapGrowthOver(int threads, LPTHREAD_START_ROUTINE body, void* argument) {
    const size_t before = cvi_test::HeapInUse();
    for (int i = 0; i < threads; ++i) {
        HANDLE t = CreateThread(nullptr, 0, body, argument, 0, nullptr);
        EXPECT_NE(t, nullptr);
        if (!t) break;
        EXPECT_EQ(WaitForSingleObject(t, 10000), WAIT_OBJECT_0);
        CloseHandle(t);
    }
    const size_t after = cvi_test::HeapInUse();
    return after > before ? after - before : 0;
}

// Without thread notifications the library still gives back what a thread
// took inside it: the record of a thread that handled an exception there
// goes when the thread ends.
TEST(Loading, ThreadsThatRaisedInsideTheLibraryLeaveNothingWhenTheyEnd) {
    Library lib;
    ASSERT_NE(lib.module, nullptr);
    void* profileExists = reinterpret_cast<void*>(GetProcAddress(lib.module, "ProfileExists"));
    ASSERT_NE(profileExists, nullptr);
    HeapGrowthOver(5, RaiseInsideTheLibrary, profileExists);  // first-use allocations of the system
    HeapGrowthOver(5, DoNothing, nullptr);
    const size_t bare = HeapGrowthOver(100, DoNothing, nullptr);
    const size_t ours = HeapGrowthOver(100, RaiseInsideTheLibrary, profileExists);
    // A record left per thread would show as 100 blocks or more.
    EXPECT_LT(ours, bare + 100) << "threads that raised: +" << ours << " bytes, plain threads: +" << bare;
}

// Hosts such as installer scripting plug-ins load the DLL for each call. A
// call that raises and handles an exception inside the library must not
// leave a thread slot behind: the process has about a thousand of them, so
// two hundred rounds would show as two hundred slots gone.
TEST(Loading, LoadingForEachCallLeavesNoThreadSlotsBehind) {
    auto probe = [] {
        const DWORD slot = TlsAlloc();
        TlsFree(slot);
        return slot;
    };
    // Keep the system DLLs it imports loaded, so each round loads only the
    // library itself.
    for (const char* dll : {"mapi32.dll", "activeds.dll", "msi.dll", "ole32.dll", "oleaut32.dll"})
        LoadLibraryA(dll);
    const DWORD before = probe();
    for (int i = 0; i < 200; ++i) {
        Library lib;
        ASSERT_NE(lib.module, nullptr);
        using ProfileExistsFn = int(WINAPI*)(const char*, int*);
        auto profileExists =
            reinterpret_cast<ProfileExistsFn>(reinterpret_cast<void*>(GetProcAddress(lib.module, "ProfileExists")));
        ASSERT_NE(profileExists, nullptr);
        int exists = 0;
        // No MAPI provider here: the profile code raises and handles a failure.
        ASSERT_EQ(profileExists("per-call-load", &exists), 0);
    }
    EXPECT_LT(probe(), before + 16);
}

TEST(Loading, LoadsAndUnloadsRepeatedly) {
    for (int i = 0; i < 5; ++i) {
        Library lib;
        ASSERT_NE(lib.module, nullptr);
        ASSERT_NE(GetProcAddress(lib.module, "GetTimeAsLong"), nullptr);
    }
}

}  // namespace
