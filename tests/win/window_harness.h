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
    forms::Form& form() { return calculator::Form1(); }
    HWND Control(const wchar_t* name, int index = -1) { return form().Control(name, index); }
};

// Real key strokes through SendInput, to whatever window has the focus.
void TypeText(const std::wstring& text);

}  // namespace harness
