// Waiting for a condition in another process: poll it until it holds or the
// time is up. Nothing in the driver waits a fixed time.
#pragma once

#include <windows.h>

namespace e2e {

inline constexpr DWORD kDefaultTimeout = 5000;  // milliseconds
inline constexpr DWORD kPollInterval = 15;

// Between two looks, messages that other processes send to the driver's
// windows are answered: the program may be waiting for one, as when it
// empties a clipboard that a window of the driver owns.
inline void PauseAnsweringMessages(DWORD milliseconds) {
    const ULONGLONG until = GetTickCount64() + milliseconds;
    for (ULONGLONG now = GetTickCount64(); now < until; now = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(until - now), QS_SENDMESSAGE);
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

template <typename Condition>
bool WaitUntil(Condition&& condition, DWORD timeoutMs = kDefaultTimeout) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition()) return true;
        if (GetTickCount64() >= deadline) return condition();
        PauseAnsweringMessages(kPollInterval);
    }
}

}  // namespace e2e
