#include "provider_state.h"

#include <cstring>
#include <mutex>
#include <set>

namespace standin {

namespace {

// Each block starts with this header; a root block chains the blocks
// allocated "more" on it, and all go together.
struct BlockHeader {
    BlockHeader* next;
    DWORD padding[3];  // keeps the data 8-byte aligned
};

struct State {
    LONG liveObjects = 0;
    LONG initBalance = 0;
    std::set<void*> roots;
    std::string journal;
    bool armed = false;
    std::string armedCall;
    HRESULT armedResult = S_OK;
};

State& state() {
    static State s;
    return s;
}

// Tests call the exports from several threads at once; every use of the
// shared bookkeeping holds this (re-entrant, as Journal runs inside Intercept).
// The C++ runtime of this build (Windows threads) has no std::recursive_mutex.
class Guard {
public:
    Guard() { InitializeCriticalSection(&cs_); }
    ~Guard() { DeleteCriticalSection(&cs_); }
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;
    void lock() { EnterCriticalSection(&cs_); }
    void unlock() { LeaveCriticalSection(&cs_); }

private:
    CRITICAL_SECTION cs_;
};

Guard& guard() {
    static Guard g;
    return g;
}

BlockHeader* NewBlock(ULONG size) {
    auto* h = static_cast<BlockHeader*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(BlockHeader) + size));
    return h;
}

}  // namespace

void Journal(const std::string& event) {
    const std::lock_guard<Guard> lock(guard());
    state().journal += event;
    state().journal += ';';
}

bool Intercept(const std::string& call, HRESULT* result) {
    const std::lock_guard<Guard> lock(guard());
    Journal(call);
    State& s = state();
    if (!s.armed || s.armedCall != call) return false;
    *result = s.armedResult;
    return true;
}

void Arm(const char* call, HRESULT result) {
    const std::lock_guard<Guard> lock(guard());
    State& s = state();
    s.armed = call != nullptr;
    s.armedCall = call ? call : "";
    s.armedResult = result;
}

StandInCounters Counters() {
    const std::lock_guard<Guard> lock(guard());
    const State& s = state();
    return StandInCounters{s.liveObjects, static_cast<LONG>(s.roots.size()), s.initBalance};
}

DWORD TakeJournal(char* buffer, DWORD size) {
    const std::lock_guard<Guard> lock(guard());
    std::string& j = state().journal;
    const DWORD length = static_cast<DWORD>(j.size());
    if (!buffer || size == 0) return length;
    const DWORD n = length < size - 1 ? length : size - 1;
    memcpy(buffer, j.data(), n);
    buffer[n] = '\0';
    j.clear();
    return length;
}

void ObjectCreated() { InterlockedIncrement(&state().liveObjects); }
void ObjectDestroyed() { InterlockedDecrement(&state().liveObjects); }
void AdjustInitBalance(LONG delta) { InterlockedExchangeAdd(&state().initBalance, delta); }
LONG InitBalance() { return state().initBalance; }

SCODE AllocateBuffer(ULONG size, void** block) {
    const std::lock_guard<Guard> lock(guard());
    if (!block) return MAPI_E_INVALID_PARAMETER;
    *block = nullptr;
    BlockHeader* h = NewBlock(size);
    if (!h) return MAPI_E_NOT_ENOUGH_MEMORY;
    *block = h + 1;
    state().roots.insert(*block);
    return S_OK;
}

SCODE AllocateMore(ULONG size, void* parent, void** block) {
    const std::lock_guard<Guard> lock(guard());
    if (!block) return MAPI_E_INVALID_PARAMETER;
    *block = nullptr;
    if (!state().roots.count(parent)) {
        Journal("MAPIAllocateMore:bad-parent");
        return MAPI_E_INVALID_PARAMETER;
    }
    BlockHeader* h = NewBlock(size);
    if (!h) return MAPI_E_NOT_ENOUGH_MEMORY;
    BlockHeader* root = static_cast<BlockHeader*>(parent) - 1;
    h->next = root->next;
    root->next = h;
    *block = h + 1;
    return S_OK;
}

ULONG FreeBuffer(void* block) {
    const std::lock_guard<Guard> lock(guard());
    if (!block) return S_OK;
    // Freeing twice, or freeing what was not allocated here, is journaled
    // rather than done, so the test sees it.
    if (!state().roots.erase(block)) {
        Journal("Free:bad");
        return static_cast<ULONG>(MAPI_E_INVALID_PARAMETER);
    }
    Journal("Free");
    for (BlockHeader* h = static_cast<BlockHeader*>(block) - 1; h;) {
        BlockHeader* next = h->next;
        HeapFree(GetProcessHeap(), 0, h);
        h = next;
    }
    return S_OK;
}

}  // namespace standin
