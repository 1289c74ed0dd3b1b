#include "tests/e2e/driver.h"

#include <cstdlib>
#include <cstring>

namespace driver {

namespace {

// A visible top-level window of that class and process.
HWND TopLevelOf(DWORD pid, const wchar_t* windowClass) {
    for (HWND w = FindWindowExW(nullptr, nullptr, windowClass, nullptr); w; w = FindWindowExW(nullptr, w, windowClass, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == pid && IsWindowVisible(w)) return w;
    }
    return nullptr;
}

void Send(std::vector<INPUT> inputs) { SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)); }

INPUT KeyInput(WORD key, DWORD flags, WORD scan = 0) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = scan ? scan : static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    const bool extended = key == VK_INSERT || key == VK_END || (key >= VK_LEFT && key <= VK_DOWN);
    input.ki.dwFlags = flags | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
    return input;
}

INPUT MouseInput(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    return input;
}

// Puts the mouse in the middle of a control. Two clicks on one spot moments
// apart make a double-click, so a click lands aside from the one before.
void MoveTo(HWND control) {
    static POINT last{};
    static ULONGLONG lastTime = 0;
    RECT r{};
    GetWindowRect(control, &r);
    POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    const int reach = GetSystemMetrics(SM_CXDOUBLECLK);
    if (GetTickCount64() - lastTime <= GetDoubleClickTime() + 100 && std::abs(at.x - last.x) <= reach) at.x -= reach + 2;
    // Moved as a mouse moves (SetCursorPos may reach the window after the
    // click that follows): 0 to 65535 across the screen, rounded up.
    INPUT move = MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE);
    move.mi.dx = static_cast<LONG>((at.x * 65536LL + GetSystemMetrics(SM_CXSCREEN) - 1) / GetSystemMetrics(SM_CXSCREEN));
    move.mi.dy = static_cast<LONG>((at.y * 65536LL + GetSystemMetrics(SM_CYSCREEN) - 1) / GetSystemMetrics(SM_CYSCREEN));
    Send({move});
    WaitUntil([&] {
        POINT now{};
        return GetCursorPos(&now) && now.x == at.x && now.y == at.y;
    });
    last = at;
    lastTime = GetTickCount64();
}

}  // namespace

Program::~Program() {
    if (info_.hProcess && Alive()) TerminateProcess(info_.hProcess, 1);
    if (info_.hProcess) CloseHandle(info_.hProcess), CloseHandle(info_.hThread);
}

bool Program::Start() {
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

bool Program::Close() {
    PostMessageW(window_, WM_CLOSE, 0, 0);
    return WaitForSingleObject(info_.hProcess, 10000) == WAIT_OBJECT_0;
}

std::wstring Program::Text(Id id) const {
    std::wstring text(static_cast<size_t>(SendMessageW((*this)[id], WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
    text.resize(static_cast<size_t>(SendMessageW((*this)[id], WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

void Program::SetText(Id id, const std::wstring& text) const {
    SendMessageW((*this)[id], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

HWND Program::Focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(info_.dwThreadId, &info);
    return info.hwndFocus;
}

HWND Program::Dialog() const { return TopLevelOf(info_.dwProcessId, L"#32770"); }

bool Program::Responsive() const {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored) != 0;
}

bool Program::Activate() const {
    SetForegroundWindow(window_);
    return WaitUntil([this] { return GetForegroundWindow() == window_; });
}

void Type(std::wstring_view text) {
    std::vector<INPUT> inputs;
    for (const wchar_t c : text) {
        inputs.insert(inputs.end(), {KeyInput(0, KEYEVENTF_UNICODE, c), KeyInput(0, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP, c)});
    }
    Send(inputs);
}

void Key(WORD virtualKey, std::initializer_list<WORD> modifiers) {
    std::vector<INPUT> inputs;
    for (const WORD m : modifiers) inputs.push_back(KeyInput(m, 0));
    inputs.push_back(KeyInput(virtualKey, 0));
    inputs.push_back(KeyInput(virtualKey, KEYEVENTF_KEYUP));
    for (const WORD m : modifiers) inputs.push_back(KeyInput(m, KEYEVENTF_KEYUP));
    Send(inputs);
}

void Click(HWND control, int clicks) {
    MoveTo(control);
    std::vector<INPUT> inputs;
    for (int i = 0; i < clicks; ++i) inputs.insert(inputs.end(), {MouseInput(MOUSEEVENTF_LEFTDOWN), MouseInput(MOUSEEVENTF_LEFTUP)});
    Send(inputs);
}

void MouseDown(HWND control) {
    MoveTo(control);
    Send({MouseInput(MOUSEEVENTF_LEFTDOWN)});
}

void MouseUp() { Send({MouseInput(MOUSEEVENTF_LEFTUP)}); }

Screenshot::Screenshot(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    width = client.right;
    height = client.bottom;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, CreateCompatibleBitmap(screen, width, height));
    BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
    for (int i = 0; i < width * height; ++i) pixels.push_back(GetPixel(memory, i % width, i / width));
    DeleteObject(SelectObject(memory, old));
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

HWND ClipboardWindow() {
    static HWND window = CreateWindowW(L"STATIC", L"driver", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    return window;
}

static bool Open() { return WaitUntil([] { return OpenClipboard(ClipboardWindow()) != FALSE; }); }

bool PutOnClipboard(const std::string& ansiText) {
    if (!Open()) return false;
    EmptyClipboard();
    HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE, ansiText.size() + 1);
    std::memcpy(GlobalLock(text), ansiText.c_str(), ansiText.size() + 1);
    GlobalUnlock(text);
    const bool placed = SetClipboardData(CF_TEXT, text) != nullptr;
    CloseClipboard();
    return placed;
}

std::string ClipboardText() {
    std::string text;
    if (!Open()) return "(clipboard busy)";
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        text = static_cast<const char*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

}  // namespace driver
