#include <time.h>

#include "process/process_control.h"

namespace cvi {
namespace {
constexpr DWORD kPauseMs = 1000;
constexpr DWORD kWakeMask = QS_ALLINPUT;  // 0x4FF
}  // namespace

int WaitWithMessagePump(HANDLE handle) {
    if (!handle) return 0;
    const clock_t start = clock();
    for (;;) {
        const DWORD wait = ::MsgWaitForMultipleObjects(1, &handle, FALSE, kPauseMs, kWakeMask);
        if (wait == WAIT_OBJECT_0) return 1;
        if (wait != WAIT_OBJECT_0 + 1) return 0;  // timeout or failure

        // The clock is looked at only after a message has been dispatched,
        // so a steady stream of input ends the pause just past the mark.
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            // The quit request belongs to the caller's own message loop: it
            // ends the pause and is posted again, exit code and all, for
            // that loop to see once the call returns.
            if (msg.message == WM_QUIT) {
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                return 1;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
            const clock_t elapsedMs = (clock() - start) * 1000 / CLOCKS_PER_SEC;
            if (elapsedMs >= static_cast<clock_t>(kPauseMs)) return 1;
        }
    }
}

}  // namespace cvi
