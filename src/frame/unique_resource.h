// Owning wrappers for the handles, keys, interfaces and buffers the library
// acquires. Every acquisition goes into one of these at once, so each path
// out of a function releases it; members of a function release in reverse
// order of declaration, which is how the release order of an operation is
// written down.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdlib>
#include <utility>

namespace cvi {

// Traits: `type`, `invalid()` and `close(type)`.
template <typename Traits>
class unique_any {
public:
    using type = typename Traits::type;

    unique_any() noexcept = default;
    explicit unique_any(type value) noexcept : value_(value) {}
    unique_any(const unique_any&) = delete;
    unique_any& operator=(const unique_any&) = delete;
    unique_any(unique_any&& other) noexcept : value_(other.release()) {}
    unique_any& operator=(unique_any&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~unique_any() { reset(); }

    type get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return value_ != Traits::invalid(); }

    // For out-parameters of calls that leave the slot empty when they fail
    // (COM, MAPI, RegOpenKeyEx): releases what is held and hands out the
    // slot. Where only a success defines the out-value, the call fills a
    // local and the owner takes it with reset() after the success.
    type* put() noexcept {
        reset();
        return &value_;
    }
    type release() noexcept { return std::exchange(value_, Traits::invalid()); }
    void reset(type value = Traits::invalid()) noexcept {
        const type old = std::exchange(value_, value);
        if (old != Traits::invalid()) Traits::close(old);
    }

private:
    type value_ = Traits::invalid();
};

struct handle_traits {
    using type = HANDLE;
    static type invalid() noexcept { return nullptr; }
    static void close(type h) noexcept { ::CloseHandle(h); }
};
// Toolhelp snapshots and find handles report failure as INVALID_HANDLE_VALUE.
struct snapshot_traits {
    using type = HANDLE;
    static type invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(type h) noexcept { ::CloseHandle(h); }
};
struct hkey_traits {
    using type = HKEY;
    static type invalid() noexcept { return nullptr; }
    static void close(type k) noexcept { ::RegCloseKey(k); }
};
struct module_traits {
    using type = HMODULE;
    static type invalid() noexcept { return nullptr; }
    static void close(type m) noexcept { ::FreeLibrary(m); }
};

// Blocks of the process heap and of the C runtime's heap.
template <typename T>
struct process_heap_traits {
    using type = T*;
    static type invalid() noexcept { return nullptr; }
    static void close(type block) noexcept { ::HeapFree(::GetProcessHeap(), 0, block); }
};
template <typename T>
struct runtime_heap_traits {
    using type = T*;
    static type invalid() noexcept { return nullptr; }
    static void close(type block) noexcept { std::free(block); }
};

using unique_handle = unique_any<handle_traits>;
using unique_snapshot = unique_any<snapshot_traits>;
using unique_hkey = unique_any<hkey_traits>;
using unique_module = unique_any<module_traits>;
template <typename T = void>
using unique_process_heap = unique_any<process_heap_traits<T>>;
template <typename T = void>
using unique_runtime_heap = unique_any<runtime_heap_traits<T>>;

// Where the library's blocks of the C runtime's heap come from: std::malloc,
// and in tests an exhausted heap, to show how each caller reports it.
using RuntimeAllocator = void* (*)(std::size_t bytes);

// An interface pointer released with IUnknown::Release.
template <typename I>
class unique_com {
public:
    unique_com() noexcept = default;
    explicit unique_com(I* p) noexcept : p_(p) {}
    unique_com(const unique_com&) = delete;
    unique_com& operator=(const unique_com&) = delete;
    unique_com(unique_com&& other) noexcept : p_(other.release()) {}
    unique_com& operator=(unique_com&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~unique_com() { reset(); }

    I* get() const noexcept { return p_; }
    I* operator->() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }
    I** put() noexcept {
        reset();
        return &p_;
    }
    // For APIs typed void** or a base interface's pointer-to-pointer.
    template <typename T>
    T** put_as() noexcept {
        reset();
        return reinterpret_cast<T**>(&p_);
    }
    I* release() noexcept { return std::exchange(p_, nullptr); }
    void reset(I* p = nullptr) noexcept {
        I* old = std::exchange(p_, p);
        if (old) old->Release();
    }

private:
    I* p_ = nullptr;
};

}  // namespace cvi
