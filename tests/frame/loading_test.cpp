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
    __asm__("movl %%fs:0x30, %0" : "=r"(peb));
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

DWORD WINAPI DoNothing(LPVOID) { return 0; }

TEST(Loading, ImageHasNoTlsDirectoryAndSurvivesThreads) {
    Library lib;
    ASSERT_NE(lib.module, nullptr);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(lib.module);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(
        reinterpret_cast<const BYTE*>(lib.module) + dos->e_lfanew);
    EXPECT_EQ(nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_TLS].VirtualAddress, 0u);

    for (int i = 0; i < 4; ++i) {
        HANDLE t = CreateThread(nullptr, 0, DoNothing, nullptr, 0, nullptr);
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(WaitForSingleObject(t, 5000), WAIT_OBJECT_0);
        CloseHandle(t);
    }
}

TEST(Loading, LoadsAndUnloadsRepeatedly) {
    for (int i = 0; i < 5; ++i) {
        Library lib;
        ASSERT_NE(lib.module, nullptr);
        ASSERT_NE(GetProcAddress(lib.module, "GetTimeAsLong"), nullptr);
    }
}

}  // namespace
