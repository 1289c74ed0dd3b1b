// The end-to-end driver, shared by the tests and bench/: the real program in a process of its own, used with real keys
// and clicks (SendInput), the clipboard and the screen. No wait here is a fixed time: each polls.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "calculator/form1_controls.h"

namespace driver {

// The controls by the names of the window's definition; each is its child-window ID.
using Id = calculator::Form1Control;
using enum calculator::Form1Control;
constexpr int ChildId(Id id) {
    return static_cast<int>(id);
}

// Polls until the condition holds or the time is up, answering what other processes send meanwhile (emptying a
// clipboard the driver owns asks it).
template <typename Condition>
bool WaitUntil(Condition&& condition, DWORD timeoutMs = 5000) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!condition()) {
        if (GetTickCount64() >= deadline)
            return condition();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_SENDMESSAGE);
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    return true;
}

inline void Send(std::vector<INPUT> inputs) {
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

inline INPUT KeyInput(WORD key, DWORD flags, WORD scan = 0) {
    INPUT input{INPUT_KEYBOARD, {}};
    const bool extended = key == VK_INSERT || key == VK_DELETE || (key >= VK_END && key <= VK_DOWN);  // no keypad's
    input.ki = {key, scan ? scan : static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)),
                flags | (extended ? KEYEVENTF_EXTENDEDKEY : 0), 0, 0};
    return input;
}

inline POINT CursorPos() {
    POINT at{};
    GetCursorPos(&at);
    return at;
}

// The mouse at a point of the screen (absolute positions run from 0 to 65535 across it; rounded up), a button pressed
// or let go there with MOUSEEVENTF_LEFTDOWN or MOUSEEVENTF_LEFTUP. The point goes with the button: a click lands
// where it was aimed even if the cursor has been moved meanwhile.
inline INPUT MouseInput(DWORD button, POINT at = CursorPos()) {
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input{INPUT_MOUSE, {}};
    input.mi.dx = static_cast<LONG>((at.x * 65536LL + width - 1) / width);
    input.mi.dy = static_cast<LONG>((at.y * 65536LL + height - 1) / height);
    input.mi.dwFlags = button | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return input;
}

// Moves the mouse, as a mouse moves, to a point of the screen, and answers where it went. Two clicks on one spot
// moments apart make a double-click: a click lands aside then.
inline POINT MoveTo(POINT at) {
    static POINT last{};
    static ULONGLONG lastTime = 0;
    const int reach = GetSystemMetrics(SM_CXDOUBLECLK);
    if (GetTickCount64() - lastTime <= GetDoubleClickTime() + 100 && std::abs(at.x - last.x) <= reach)
        at.x -= reach + 2;
    Send({MouseInput(0, at)});
    WaitUntil([&] { return CursorPos().x == at.x && CursorPos().y == at.y; });
    last = at;
    lastTime = GetTickCount64();
    return at;
}

// To the middle of a window.
inline POINT MoveTo(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return MoveTo(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

inline void Click(HWND window, int clicks = 1) {
    const POINT at = MoveTo(window);
    std::vector<INPUT> inputs;
    for (int i = 0; i < clicks; ++i)
        inputs.insert(inputs.end(), {MouseInput(MOUSEEVENTF_LEFTDOWN, at), MouseInput(MOUSEEVENTF_LEFTUP, at)});
    Send(inputs);
}

inline void Type(std::wstring_view text) {
    std::vector<INPUT> inputs;
    for (const wchar_t c : text)
        inputs.insert(inputs.end(),
                      {KeyInput(0, KEYEVENTF_UNICODE, c), KeyInput(0, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP, c)});
    Send(inputs);
}

// A key pressed and let go, the modifier (if any) held down around it.
inline void Key(WORD key, WORD modifier = 0) {
    std::vector<INPUT> inputs{KeyInput(key, 0), KeyInput(key, KEYEVENTF_KEYUP)};
    if (modifier) {
        inputs.insert(inputs.begin(), KeyInput(modifier, 0));
        inputs.push_back(KeyInput(modifier, KEYEVENTF_KEYUP));
    }
    Send(inputs);
}

// A window as a failure names it: its class, its title and the program file of its process.
inline std::wstring Describe(HWND window) {
    if (window == nullptr)
        return L"no window";
    wchar_t kind[128] = {}, title[128] = {}, file[MAX_PATH] = {};
    GetClassNameW(window, kind, 128);
    GetWindowTextW(window, title, 128);
    DWORD pid = 0, size = MAX_PATH;
    GetWindowThreadProcessId(window, &pid);
    if (HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid)) {
        QueryFullProcessImageNameW(process, 0, file, &size);
        CloseHandle(process);
    }
    return std::wstring(L"class \"") + kind + L"\", title \"" + title + L"\", process " + std::to_wstring(pid) + L" (" +
           file + L")";
}

// What another process shows over this window, if anything: the first visible window above it that overlaps it.
inline std::wstring Covering(HWND window) {
    HWND top = GetAncestor(window, GA_ROOT);
    RECT mine{}, theirs{}, both{};
    GetWindowRect(window, &mine);
    DWORD ours = 0, pid = 0;
    GetWindowThreadProcessId(top, &ours);
    for (HWND w = GetTopWindow(nullptr); w && w != top; w = GetWindow(w, GW_HWNDNEXT)) {
        GetWindowThreadProcessId(w, &pid);
        if (pid != ours && IsWindowVisible(w) && GetWindowRect(w, &theirs) && IntersectRect(&both, &mine, &theirs))
            return L"covered by " + Describe(w);
    }
    return L"no other window over it";
}

class Program {
public:
    Program() = default;
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    ~Program() {  // ends the program if it still runs
        if (info_.hProcess == nullptr)
            return;
        TerminateProcess(info_.hProcess, 1);
        CloseHandle(info_.hProcess);
        CloseHandle(info_.hThread);
    }
    // TAVIREL_EXE, else Tavirel.exe beside the driver; true once its window shows.
    bool Start() {
        wchar_t path[MAX_PATH] = {};
        if (GetEnvironmentVariableW(L"TAVIREL_EXE", path, MAX_PATH) == 0) {
            GetModuleFileNameW(nullptr, path, MAX_PATH);
            wcscpy(wcsrchr(path, L'\\') + 1, L"Tavirel.exe");
        }
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        if (!CreateProcessW(path, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info_))
            return false;
        WaitForInputIdle(info_.hProcess, 20000);
        WaitUntil([this] { return TopLevel(L"TavirelForm") != nullptr; }, 20000);
        window_ = TopLevel(L"TavirelForm");
        return window_ != nullptr;
    }
    bool Close() {  // as a user does
        return PostMessageW(window_, WM_CLOSE, 0, 0) && WaitForSingleObject(info_.hProcess, 10000) == WAIT_OBJECT_0;
    }
    HWND Window() const { return window_; }
    HANDLE Process() const { return info_.hProcess; }
    HWND operator[](Id id) const {  // on the window or in one of its frames
        HWND control = GetDlgItem(window_, ChildId(id));
        for (const Id frame : {Frame1, Frame2}) {
            if (control == nullptr)
                control = GetDlgItem(GetDlgItem(window_, ChildId(frame)), ChildId(id));
        }
        return control;
    }
    // Sent as another program would; a program that hangs is not waited for.
    LRESULT Ask(Id id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        DWORD_PTR result = 0;
        SendMessageTimeoutW((*this)[id], message, wParam, lParam, SMTO_ABORTIFHUNG, 20000, &result);
        return static_cast<LRESULT>(result);
    }
    std::wstring Text(Id id) const {
        std::wstring text(static_cast<size_t>(Ask(id, WM_GETTEXTLENGTH)) + 1, L'\0');
        text.resize(static_cast<size_t>(Ask(id, WM_GETTEXT, text.size(), LPARAM(text.data()))));
        return text;
    }
    void SetText(Id id, const std::wstring& text) const { Ask(id, WM_SETTEXT, 0, LPARAM(text.c_str())); }
    bool Checked(Id id) const { return Ask(id, BM_GETCHECK) == BST_CHECKED; }
    HWND Focus() const {
        GUITHREADINFO info{sizeof(GUITHREADINFO), 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, {}};
        return GetGUIThreadInfo(info_.dwThreadId, &info) ? info.hwndFocus : nullptr;
    }
    HWND Dialog() const { return TopLevel(L"#32770"); }  // a message box, if one shows
    HWND AwaitDialog() const {                           // the message box once it shows, null if none does
        WaitUntil([this] { return Dialog() != nullptr; });
        return Dialog();
    }
    bool Responsive(UINT timeoutMs = 5000) const {  // answers within that time
        return SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, nullptr) != 0;
    }
    // The window in front, ready for keys. Windows refuses SetForegroundWindow to a process that is not in the
    // foreground (its foreground lock): then the window is brought forward as a user would, by a click on its caption.
    bool Activate() const {
        const auto inFront = [this] {
            return GetForegroundWindow() == window_;
        };
        SetForegroundWindow(window_);
        TITLEBARINFO bar{sizeof bar, {}, {}};
        if (WaitUntil(inFront, 1000) || !GetTitleBarInfo(window_, &bar))
            return inFront();
        const RECT& r = bar.rcTitleBar;
        const POINT at = MoveTo(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
        Send({MouseInput(MOUSEEVENTF_LEFTDOWN, at), MouseInput(MOUSEEVENTF_LEFTUP, at)});
        return WaitUntil(inFront);
    }

private:
    HWND TopLevel(const wchar_t* windowClass) const {  // a visible one of the program's
        for (HWND w = FindWindowExW(nullptr, nullptr, windowClass, nullptr); w;
             w = FindWindowExW(nullptr, w, windowClass, nullptr)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner == info_.dwProcessId && IsWindowVisible(w))
                return w;
        }
        return nullptr;
    }
    PROCESS_INFORMATION info_{};
    HWND window_ = nullptr;
};

// The clipboard, opened for a window of the driver.
inline HWND ClipboardWindow() {
    static HWND window = CreateWindowW(L"STATIC", L"driver", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    return window;
}

// Unicode text, the format the program's text boxes paste from. Read back in that format, a copy shows as text
// only once the clipboard was emptied for it: Windows makes the Unicode text of a copied CF_TEXT only in its absence.
inline bool PutOnClipboard(const std::wstring& text) {
    if (!WaitUntil([] { return OpenClipboard(ClipboardWindow()) != FALSE; }))
        return false;
    EmptyClipboard();
    HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    std::memcpy(GlobalLock(data), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(data);
    const bool placed = SetClipboardData(CF_UNICODETEXT, data) != nullptr;
    return CloseClipboard() && placed;
}

inline std::wstring ClipboardText() {
    if (!WaitUntil([] { return OpenClipboard(ClipboardWindow()) != FALSE; }))
        return L"(clipboard busy)";
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    std::wstring text = data ? static_cast<const wchar_t*>(GlobalLock(data)) : L"";
    if (data)
        GlobalUnlock(data);
    CloseClipboard();
    return text;
}

}  // namespace driver
