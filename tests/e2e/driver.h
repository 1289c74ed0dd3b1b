// The end-to-end driver, shared by the tests and bench/: the real program in
// a process of its own, used with real keys and clicks (SendInput), the
// clipboard and the screen. No wait here is a fixed time: each polls.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace driver {

// Child-window IDs: the controls are made in the definition's order from 100.
enum Id : int {
    cmdGetZT = 100, cmdGetDT, Frame2, txtZTPrice, txtDTPrice, Label2_0, Label2_1,
    Command1, Frame1, Option2, Option1, txtCurPrice, Label1,
};

// Polls until the condition holds or the time is up, answering what other
// processes send meanwhile (emptying a clipboard the driver owns asks it).
template <typename Condition>
bool WaitUntil(Condition&& condition, DWORD timeoutMs = 5000) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!condition()) {
        if (GetTickCount64() >= deadline) return condition();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_SENDMESSAGE);
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    return true;
}

class Program {
public:
    Program() = default;
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    ~Program();  // ends the program if it still runs
    // TAVIREL_EXE, else Tavirel.exe beside the driver; true once its window shows.
    bool Start();
    bool Close();  // as the user closes it; true when the process ended
    bool Alive() const { return WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }
    HWND Window() const { return window_; }
    HANDLE Process() const { return info_.hProcess; }
    HWND operator[](Id id) const {  // the buttons and frames lie on the window, the rest in a frame
        const bool onWindow = id <= Frame2 || id == Command1 || id == Frame1;
        return GetDlgItem(onWindow ? window_ : GetDlgItem(window_, id < Command1 ? Frame2 : Frame1), id);
    }
    std::wstring Text(Id id) const;
    void SetText(Id id, const std::wstring& text) const;  // WM_SETTEXT, as another program would
    bool Checked(Id id) const { return SendMessageW((*this)[id], BM_GETCHECK, 0, 0) == BST_CHECKED; }
    HWND Focus() const;
    HWND Dialog() const;  // a message box of the program, if one shows
    bool Responsive() const;
    bool Activate() const;  // the window in front, ready for keys

private:
    PROCESS_INFORMATION info_{};
    HWND window_ = nullptr;
};

void Type(std::wstring_view text);
void Key(WORD virtualKey, std::initializer_list<WORD> modifiers = {});
void Click(HWND control, int clicks = 1);  // in the middle
void MouseDown(HWND control);
void MouseUp();

// A window's client area as the screen shows it (another process's window
// DC reads back black under Wine); Pixel(x, y) of it.
struct Screenshot {
    explicit Screenshot(HWND window);
    COLORREF operator()(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
};

// The clipboard, opened for a window of the driver.
HWND ClipboardWindow();
bool PutOnClipboard(const std::string& ansiText);
std::string ClipboardText();

}  // namespace driver
