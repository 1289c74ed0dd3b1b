#include "tests/e2e/process_watch.h"

#include <psapi.h>

#include <chrono>

namespace e2e {

ProcessProbe::ProcessProbe(DWORD processId)
    : handle_(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | PROCESS_TERMINATE | SYNCHRONIZE, FALSE,
                          processId)) {}

ProcessProbe::~ProcessProbe() {
    if (handle_ != nullptr) CloseHandle(handle_);
}

std::optional<SIZE_T> ProcessProbe::PrivateBytes() const {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (handle_ == nullptr ||
        !GetProcessMemoryInfo(handle_, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters)) {
        return std::nullopt;
    }
    // Windows gives the commit charge in both fields. Wine 8 leaves
    // PrivateUsage at 0 but fills PagefileUsage, with the resident anonymous
    // memory and swap of the process: its private bytes all the same.
    return counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.PagefileUsage;
}

Watchdog::Watchdog(HANDLE process, DWORD boundMs)
    : process_(process), boundMs_(boundMs), thread_([this] { Watch(); }) {}

Watchdog::~Watchdog() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    stop_.notify_all();
    thread_.join();
}

void Watchdog::Watch() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!stopping_) {
        stop_.wait_for(lock, std::chrono::milliseconds(100));
        // The destructor sets stopping_ on its thread while the wait has the lock released.
        // cppcheck-suppress knownConditionTrueFalse
        if (stopping_ || fired_) continue;
        const ULONGLONG armedAt = armedAt_.load(std::memory_order_acquire);
        if (armedAt == 0 || GetTickCount64() - armedAt <= boundMs_) continue;
        firedOn_.store(what_.load(std::memory_order_relaxed));
        fired_ = true;
        TerminateProcess(process_, 254);
    }
}

}  // namespace e2e
