// Watching the program's process from outside while it is driven hard: its
// private memory, and a watchdog that ends it when one step takes too long,
// so that a driver blocked in a call into a hung program gets free again.
#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace e2e {

// A handle of the program's process of the driver's own.
class ProcessProbe {
public:
    explicit ProcessProbe(DWORD processId);
    ~ProcessProbe();
    ProcessProbe(const ProcessProbe&) = delete;
    ProcessProbe& operator=(const ProcessProbe&) = delete;

    bool Valid() const { return handle_ != nullptr; }
    HANDLE Handle() const { return handle_; }
    // The private bytes of the process (PROCESS_MEMORY_COUNTERS_EX), or
    // nothing when they cannot be read.
    std::optional<SIZE_T> PrivateBytes() const;

private:
    HANDLE handle_ = nullptr;
};

// Ends the process when a guarded call into it takes longer than the bound.
// Calls such as RedrawWindow with RDW_UPDATENOW or EnableWindow wait for the
// program without a timeout of their own; once the program is gone they
// return, and the test fails instead of hanging.
class Watchdog {
public:
    Watchdog(HANDLE process, DWORD boundMs);
    ~Watchdog();
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

    // Guards the calls made while it lives; `what` names them (a literal).
    class Guard {
    public:
        Guard(Watchdog& dog, const char* what) : dog_(dog) { dog_.Arm(what); }
        ~Guard() { dog_.Disarm(); }
        Guard(const Guard&) = delete;
        Guard& operator=(const Guard&) = delete;

    private:
        Watchdog& dog_;
    };

    bool Fired() const { return fired_.load(); }
    std::string FiredOn() const { return firedOn_.load(); }

private:
    void Arm(const char* what) {
        what_.store(what, std::memory_order_relaxed);
        armedAt_.store(GetTickCount64(), std::memory_order_release);
    }
    void Disarm() { armedAt_.store(0, std::memory_order_release); }
    void Watch();

    HANDLE process_;
    DWORD boundMs_;
    std::atomic<const char*> what_{""};
    std::atomic<ULONGLONG> armedAt_{0};  // 0 while nothing is guarded
    std::atomic<bool> fired_{false};
    std::atomic<const char*> firedOn_{""};
    std::mutex mutex_;
    std::condition_variable stop_;
    bool stopping_ = false;
    std::thread thread_;
};

// Seconds since it was made, for the figures the tests print.
class Stopwatch {
public:
    Stopwatch() : start_(std::chrono::steady_clock::now()) {}
    double Seconds() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    }

private:
    std::chrono::steady_clock::time_point start_;
};

}  // namespace e2e
