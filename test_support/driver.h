// The end-to-end driver, shared by the tests and bench/: the real program in a process of its own, used with real keys
// and clicks (SendInput), the clipboard and the screen. No wait here is a fixed time: each polls.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <iterator>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "calculator/form1_controls.h"

// A control's name in a failure message (found by argument-dependent lookup, so beside the enum).
namespace calculator {
inline std::ostream& operator<<(std::ostream& out, Form1Control id) {
    constexpr const char* kNames[] = {"cmdGetZT", "cmdGetDT", "Frame2", "Label2(0)", "txtZTPrice", "Label2(1)", "txtDTPrice",
                                      "Command1", "Frame1", "Option2", "Option1", "Label1", "txtCurPrice"};
    const int i = static_cast<int>(id) - static_cast<int>(Form1Control::cmdGetZT);
    return out << (i >= 0 && i < static_cast<int>(std::size(kNames)) ? kNames[i] : "Form1");
}
}  // namespace calculator

namespace driver {

// The controls by the names of the window's definition; each is its child-window ID.
using Id = calculator::Form1Control;
using enum calculator::Form1Control;
constexpr int ChildId(Id id) { return static_cast<int>(id); }


// Polls until the condition holds or the time is up, answering what other processes send meanwhile (emptying a clipboard the driver owns asks it).
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

// A visible top-level window of that class and process.
inline HWND TopLevelOf(DWORD pid, const wchar_t* windowClass) {
    for (HWND w = FindWindowExW(nullptr, nullptr, windowClass, nullptr); w; w = FindWindowExW(nullptr, w, windowClass, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == pid && IsWindowVisible(w)) return w;
    }
    return nullptr;
}

inline void Send(std::vector<INPUT> inputs) { SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)); }

inline INPUT KeyInput(WORD key, DWORD flags, WORD scan = 0) {
    INPUT input{INPUT_KEYBOARD, {}};
    const bool extended = key == VK_INSERT || key == VK_DELETE || (key >= VK_END && key <= VK_DOWN);  // not the keypad's
    input.ki = {key, scan ? scan : static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)), flags | (extended ? KEYEVENTF_EXTENDEDKEY : 0), 0, 0};
    return input;
}

inline INPUT MouseInput(DWORD flags, POINT at = {}) {
    INPUT input{INPUT_MOUSE, {}};
    // Absolute positions run from 0 to 65535 across the screen; rounded up.
    input.mi.dx = static_cast<LONG>((at.x * 65536LL + GetSystemMetrics(SM_CXSCREEN) - 1) / GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = static_cast<LONG>((at.y * 65536LL + GetSystemMetrics(SM_CYSCREEN) - 1) / GetSystemMetrics(SM_CYSCREEN));
    input.mi.dwFlags = flags;
    return input;
}

// Moves the mouse, as a mouse moves, to a point of the screen. Two clicks on one spot moments apart make a double-click: a click lands aside then.
inline void MoveTo(POINT at) {
    static POINT last{};
    static ULONGLONG lastTime = 0;
    const int reach = GetSystemMetrics(SM_CXDOUBLECLK);
    if (GetTickCount64() - lastTime <= GetDoubleClickTime() + 100 && std::abs(at.x - last.x) <= reach) at.x -= reach + 2;
    Send({MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, at)});
    WaitUntil([&] { POINT now{}; return GetCursorPos(&now) && now.x == at.x && now.y == at.y; });
    last = at;
    lastTime = GetTickCount64();
}

// Moves the mouse to the middle of a control.
inline void MoveTo(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MoveTo(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

class Program {
public:
    Program() = default;
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    ~Program() {  // ends the program if it still runs
        if (info_.hProcess && Alive()) TerminateProcess(info_.hProcess, 1);
        if (info_.hProcess) CloseHandle(info_.hProcess), CloseHandle(info_.hThread);
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
        if (!CreateProcessW(path, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info_)) return false;
        return WaitUntil([this] { return (window_ = TopLevelOf(info_.dwProcessId, L"TavirelForm")) != nullptr; }, 20000);
    }
    bool Close() { return PostMessageW(window_, WM_CLOSE, 0, 0) && WaitForSingleObject(info_.hProcess, 10000) == WAIT_OBJECT_0; }  // as a user does
    bool Alive() const { return WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }
    HWND Window() const { return window_; }
    HANDLE Process() const { return info_.hProcess; }
    HWND operator[](Id id) const {  // on the window or in one of its frames
        for (HWND parent : {window_, GetDlgItem(window_, ChildId(Frame1)), GetDlgItem(window_, ChildId(Frame2))}) {
            if (HWND control = GetDlgItem(parent, ChildId(id))) return control;
        }
        return nullptr;
    }
    std::wstring Text(Id id) const {
        std::wstring text(static_cast<size_t>(SendMessageW((*this)[id], WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
        text.resize(static_cast<size_t>(SendMessageW((*this)[id], WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
        return text;
    }
    // As another program would write it.
    void SetText(Id id, const std::wstring& text) const { SendMessageW((*this)[id], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())); }
    bool Checked(Id id) const { return SendMessageW((*this)[id], BM_GETCHECK, 0, 0) == BST_CHECKED; }
    HWND Focus() const {
        GUITHREADINFO info{sizeof(GUITHREADINFO), 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, {}};
        return GetGUIThreadInfo(info_.dwThreadId, &info) ? info.hwndFocus : nullptr;
    }
    HWND Dialog() const { return TopLevelOf(info_.dwProcessId, L"#32770"); }  // a message box, if one shows
    bool Responsive(UINT timeoutMs = 5000) const {  // answers within that time
        return SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, nullptr) != 0;
    }
    // The window in front, ready for keys. Windows refuses SetForegroundWindow to a process that is not in the
    // foreground (its foreground lock): then the window is brought forward as a user would, by a click on its caption.
    bool Activate() const {
        const auto inFront = [this] { return GetForegroundWindow() == window_; };
        SetForegroundWindow(window_);
        if (WaitUntil(inFront, 1000)) return true;
        TITLEBARINFO bar{sizeof bar, {}, {}};
        if (!GetTitleBarInfo(window_, &bar)) return false;
        MoveTo(POINT{(bar.rcTitleBar.left + bar.rcTitleBar.right) / 2, (bar.rcTitleBar.top + bar.rcTitleBar.bottom) / 2});
        Send({MouseInput(MOUSEEVENTF_LEFTDOWN), MouseInput(MOUSEEVENTF_LEFTUP)});
        return WaitUntil(inFront);
    }

private:
    PROCESS_INFORMATION info_{};
    HWND window_ = nullptr;
};

inline void Type(std::wstring_view text) {
    std::vector<INPUT> inputs;
    for (const wchar_t c : text) inputs.insert(inputs.end(), {KeyInput(0, KEYEVENTF_UNICODE, c), KeyInput(0, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP, c)});
    Send(inputs);
}

inline void Key(WORD virtualKey, std::initializer_list<WORD> modifiers = {}) {
    std::vector<INPUT> inputs;
    for (const WORD m : modifiers) inputs.push_back(KeyInput(m, 0));
    inputs.insert(inputs.end(), {KeyInput(virtualKey, 0), KeyInput(virtualKey, KEYEVENTF_KEYUP)});
    for (const WORD m : modifiers) inputs.push_back(KeyInput(m, KEYEVENTF_KEYUP));
    Send(inputs);
}

inline void Click(HWND control, int clicks = 1) {  // in the middle
    MoveTo(control);
    std::vector<INPUT> inputs;
    for (int i = 0; i < clicks; ++i) inputs.insert(inputs.end(), {MouseInput(MOUSEEVENTF_LEFTDOWN), MouseInput(MOUSEEVENTF_LEFTUP)});
    Send(inputs);
}

inline void MouseDown(HWND control) { MoveTo(control); Send({MouseInput(MOUSEEVENTF_LEFTDOWN)}); }

inline void MouseUp() { Send({MouseInput(MOUSEEVENTF_LEFTUP)}); }

// A window's client area as the screen shows it (another process's window DC reads back black under Wine); (x, y) is a pixel of it.
struct Screenshot {
    explicit Screenshot(HWND window) {
        RECT client{};
        POINT origin{0, 0};
        GetClientRect(window, &client);
        ClientToScreen(window, &origin);
        width = client.right, height = client.bottom;
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        HGDIOBJ old = SelectObject(memory, CreateCompatibleBitmap(screen, width, height));
        BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
        for (int i = 0; i < width * height; ++i) pixels.push_back(GetPixel(memory, i % width, i / width));
        DeleteObject(SelectObject(memory, old));
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
    }
    COLORREF operator()(int x, int y) const { return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]; }
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
};

// The clipboard, opened for a window of the driver.
inline HWND ClipboardWindow() {
    static HWND window = CreateWindowW(L"STATIC", L"driver", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    return window;
}

inline bool OpenClipboardOfDriver() { return WaitUntil([] { return OpenClipboard(ClipboardWindow()) != FALSE; }); }

inline bool PutOnClipboard(const std::string& ansiText) {
    if (!OpenClipboardOfDriver()) return false;
    EmptyClipboard();
    HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE, ansiText.size() + 1);
    std::memcpy(GlobalLock(text), ansiText.c_str(), ansiText.size() + 1);
    GlobalUnlock(text);
    const bool placed = SetClipboardData(CF_TEXT, text) != nullptr;
    return CloseClipboard() && placed;
}

inline std::string ClipboardText() {
    std::string text;
    if (!OpenClipboardOfDriver()) return "(clipboard busy)";
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        text = static_cast<const char*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

}  // namespace driver
