#include "window_harness.h"

#include "forms_runtime/form_internal.h"

namespace harness {

bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (forms::TranslateFormKey(msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

void Settle() {
    // Input that SendInput queued for this thread shows in its queue status
    // until it has been read; pump until the queue has stayed empty through
    // a full pass.
    int quiet = 0;
    PumpUntil([&] {
        quiet = GetQueueStatus(QS_ALLINPUT) == 0 ? quiet + 1 : 0;
        return quiet >= 3;
    });
}

Form1Session::Form1Session() {
    forms::Form::Load(calculator::kForm1, calculator::Form1Events(), GetModuleHandleW(nullptr)).Show();
    HWND window = form().hWnd();
    SetForegroundWindow(window);
    PumpUntil([window] { return GetForegroundWindow() == window && IsWindowVisible(window); });
}

Form1Session::~Form1Session() {
    if (forms::Form* loaded = forms::FindForm(L"Form1")) {
        HWND window = loaded->hWnd();
        DestroyWindow(window);
    }
    MSG msg;  // the quit message of the destroyed window
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message != WM_QUIT) DispatchMessageW(&msg);
    }
}

void TypeText(const std::wstring& text) {
    for (wchar_t c : text) {
        INPUT inputs[2]{};
        for (int i = 0; i < 2; ++i) {
            inputs[i].type = INPUT_KEYBOARD;
            inputs[i].ki.wScan = c;
            inputs[i].ki.dwFlags = KEYEVENTF_UNICODE | (i ? KEYEVENTF_KEYUP : 0);
        }
        SendInput(2, inputs, sizeof(INPUT));
    }
    Settle();
}

ChildProcess::ChildProcess(const wchar_t* argument) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(self) + L"\" " + argument;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&output_, &writeEnd, &inherit, 0)) return;
    SetHandleInformation(output_, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info_)) {
        info_ = PROCESS_INFORMATION{};
    }
    CloseHandle(writeEnd);  // the child holds the only writing end now
}

ChildProcess::~ChildProcess() {
    if (info_.hProcess) {
        if (WaitForSingleObject(info_.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(info_.hProcess, 1);
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
    if (output_) CloseHandle(output_);
}

std::string ChildProcess::ReadOutput() {
    std::string output;
    char buffer[256];
    DWORD got = 0;
    while (output_ && ReadFile(output_, buffer, sizeof buffer, &got, nullptr) && got > 0) output.append(buffer, got);
    return output;
}

}  // namespace harness
