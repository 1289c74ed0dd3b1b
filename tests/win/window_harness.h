// Runs the real calculator window inside the test process and drives it
// with real input, waiting for conditions instead of sleeping.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>

#include "calculator/form1.h"

namespace harness {

// Pumps this thread's messages (through the runtime's keyboard handling)
// until the condition holds or the timeout passes; true when it held.
bool PumpUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::milliseconds(3000));

// Pumps until every input sent so far has been handled.
void Settle();

// Loads and shows a fresh calculator window; closes it when done.
class Form1Session {
public:
    Form1Session();
    ~Form1Session();
    Form1Session(const Form1Session&) = delete;
    Form1Session& operator=(const Form1Session&) = delete;
    forms::Form& form() { return calculator::Form1(); }
    HWND Control(const wchar_t* name, int index = -1) { return form().Control(name, index); }
};

// Real key strokes through SendInput, to whatever window has the focus.
void TypeText(const std::wstring& text);

// A copy of this test executable started with one argument, playing a part
// of its own in a process of its own; its standard output is captured.
class ChildProcess {
public:
    explicit ChildProcess(const wchar_t* argument);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return info_.hProcess != nullptr; }
    DWORD Id() const { return info_.dwProcessId; }
    HANDLE Process() const { return info_.hProcess; }
    // Everything the child writes, once it has closed its output (ended).
    std::string ReadOutput();

private:
    PROCESS_INFORMATION info_{};
    HANDLE output_ = nullptr;
};

}  // namespace harness
