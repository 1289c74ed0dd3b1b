// The end-to-end driver: starts the real program as a process of its own
// and uses it as a person does, with real keystrokes and mouse clicks
// (SendInput), the clipboard and the screen. Shared by the tests and bench/.
// Nothing here waits a fixed time: every wait polls a condition.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace driver {

// The controls by child-window ID: the window makes them in the order of its
// definition, from 100 on.
enum Id : int {
    cmdGetZT = 100, cmdGetDT, Frame2, txtZTPrice, txtDTPrice, Label2_0, Label2_1,
    Command1, Frame1, Option2, Option1, txtCurPrice, Label1,
};

// Polls until the condition holds or the time is up, answering the messages
// other processes send this one meanwhile (the program empties a clipboard
// that the driver owns by asking it).
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
    // TAVIREL_EXE, else Tavirel.exe beside the driver.
    static std::wstring DefaultPath();
    ~Program();
    bool Start(const std::wstring& path = DefaultPath());  // until its window is shown
    bool Close();                                           // as the user would; true when it ended
    bool Alive() const;
    HWND Window() const { return window_; }
    HANDLE Process() const { return info_.hProcess; }
    HWND Control(Id id) const;
    std::wstring Text(Id id) const;
    void SetText(Id id, std::wstring_view text) const;  // WM_SETTEXT, as a paste would
    bool Checked(Id id) const;
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
void Click(HWND control);  // in the middle
void ClickAtEnd(HWND textBox);  // near the right end: the caret after the text
void DoubleClick(HWND control);
void MouseDown(HWND control);
void MouseUp();

// Pixels of a window's client area as the screen shows them (another
// process's window DC reads back black under Wine).
std::vector<COLORREF> ScreenPixels(HWND window, int& width, int& height);

// The clipboard, opened for a window of the driver.
HWND ClipboardWindow();
bool PutOnClipboard(const std::string& ansiText);  // with a private mark beside it
bool ClipboardHasMark();
std::string ClipboardText();
std::vector<UINT> ClipboardFormats();

}  // namespace driver
