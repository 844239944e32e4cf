#include <gtest/gtest.h>

#include "process/process_control.h"

using cvi::WaitWithMessagePump;

namespace {

// A message-only window that counts what reaches its window procedure.
class CountingWindow {
public:
    CountingWindow() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "cvi_counting_window";
        RegisterClassA(&wc);
        hwnd_ = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                wc.hInstance, nullptr);
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~CountingWindow() { DestroyWindow(hwnd_); }
    HWND hwnd() const { return hwnd_; }
    int count = 0;

private:
    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
        if (m == WM_USER || m == WM_TIMER) {
            auto* self = reinterpret_cast<CountingWindow*>(GetWindowLongPtrA(h, GWLP_USERDATA));
            if (self) ++self->count;
            return 0;
        }
        return DefWindowProcA(h, m, w, l);
    }
    HWND hwnd_ = nullptr;
};

struct Event {
    HANDLE h = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    ~Event() { CloseHandle(h); }
};

void DrainQueue() {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    }
}

TEST(WaitWithMessagePump, NullHandleGivesZeroAtOnce) {
    const DWORD start = GetTickCount();
    EXPECT_EQ(WaitWithMessagePump(nullptr), 0);
    EXPECT_LT(GetTickCount() - start, 500u);
}

TEST(WaitWithMessagePump, SignalledHandleGivesOne) {
    Event e;
    SetEvent(e.h);
    const DWORD start = GetTickCount();
    EXPECT_EQ(WaitWithMessagePump(e.h), 1);
    EXPECT_LT(GetTickCount() - start, 500u);
}

TEST(WaitWithMessagePump, AQuietSecondGivesZero) {
    DrainQueue();
    Event e;
    const DWORD start = GetTickCount();
    EXPECT_EQ(WaitWithMessagePump(e.h), 0);
    EXPECT_GE(GetTickCount() - start, 900u);
}

TEST(WaitWithMessagePump, DispatchesAPostedMessageAndThenTimesOut) {
    DrainQueue();
    CountingWindow w;
    ASSERT_NE(w.hwnd(), nullptr);
    Event e;
    PostMessageA(w.hwnd(), WM_USER, 0, 0);
    // Dispatched before the mark, so the wait goes on and ends quietly.
    EXPECT_EQ(WaitWithMessagePump(e.h), 0);
    EXPECT_EQ(w.count, 1);
}

TEST(WaitWithMessagePump, SteadyInputEndsThePauseWithOneAfterTheMark) {
    DrainQueue();
    CountingWindow w;
    ASSERT_NE(w.hwnd(), nullptr);
    Event e;
    SetTimer(w.hwnd(), 1, 50, nullptr);
    const DWORD start = GetTickCount();
    EXPECT_EQ(WaitWithMessagePump(e.h), 1);
    const DWORD elapsed = GetTickCount() - start;
    KillTimer(w.hwnd(), 1);
    EXPECT_GE(elapsed, 950u);
    EXPECT_LT(elapsed, 2500u);
    EXPECT_GT(w.count, 3);
}

// A GUI setup whose window is closed during the wait: the pause ends at the
// quit request, and the caller's own loop still gets it, exit code and all,
// after the messages queued before it.
TEST(WaitWithMessagePump, AQuitRequestEndsThePauseAndStaysForTheCaller) {
    DrainQueue();
    CountingWindow w;
    ASSERT_NE(w.hwnd(), nullptr);
    Event e;
    PostMessageA(w.hwnd(), WM_USER, 0, 0);
    PostQuitMessage(42);
    const DWORD start = GetTickCount();
    EXPECT_EQ(WaitWithMessagePump(e.h), 1);
    EXPECT_LT(GetTickCount() - start, 500u) << "the pause ran on past the quit request";
    EXPECT_EQ(w.count, 1);
    MSG m;
    ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(m.wParam, 42u);
}

}  // namespace
