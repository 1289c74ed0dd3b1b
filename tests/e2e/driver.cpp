#include "tests/e2e/driver.h"

#include <cstdlib>
#include <cstring>

namespace driver {

namespace {

struct Search {
    DWORD pid;
    const wchar_t* windowClass;
    HWND found;
};

BOOL CALLBACK FindTopLevel(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t name[32] = {};
    GetClassNameW(hwnd, name, 32);
    if (pid != search->pid || !IsWindowVisible(hwnd) || wcscmp(name, search->windowClass) != 0) return TRUE;
    search->found = hwnd;
    return FALSE;
}

HWND TopLevelOf(DWORD pid, const wchar_t* windowClass) {
    Search search{pid, windowClass, nullptr};
    EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void Send(std::vector<INPUT> inputs) { SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)); }

INPUT KeyInput(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    const bool extended = key == VK_INSERT || key == VK_DELETE || key == VK_HOME || key == VK_END ||
                          (key >= VK_LEFT && key <= VK_DOWN);
    input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
    return input;
}

INPUT MouseInput(DWORD flags, POINT at = {}) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    // Absolute coordinates run from 0 to 65535 over the screen; rounded up
    // so that they map back onto the same pixel.
    input.mi.dx = static_cast<LONG>((at.x * 65536LL + GetSystemMetrics(SM_CXSCREEN) - 1) / GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = static_cast<LONG>((at.y * 65536LL + GetSystemMetrics(SM_CYSCREEN) - 1) / GetSystemMetrics(SM_CYSCREEN));
    return input;
}

// Moves the mouse there and waits until it is; a point one double-click
// reach away from the last click, when that was moments ago, so that two
// single clicks do not make a double-click.
POINT g_lastClick{-100, -100};
ULONGLONG g_lastClickTime = 0;
void MoveTo(POINT at, bool apart) {
    const int reach = GetSystemMetrics(SM_CXDOUBLECLK);
    if (apart && GetTickCount64() - g_lastClickTime <= GetDoubleClickTime() + 100 &&
        std::abs(at.x - g_lastClick.x) <= reach && std::abs(at.y - g_lastClick.y) <= reach) {
        at.x -= reach + 2;
    }
    Send({MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, at)});
    WaitUntil([&] {
        POINT now{};
        return GetCursorPos(&now) && now.x == at.x && now.y == at.y;
    });
    g_lastClick = at;
    g_lastClickTime = GetTickCount64();
}

POINT Centre(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace

std::wstring Program::DefaultPath() {
    wchar_t path[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"TAVIREL_EXE", path, MAX_PATH) > 0) return path;
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring own(path);
    return own.substr(0, own.find_last_of(L"\\/") + 1) + L"Tavirel.exe";
}

Program::~Program() {
    if (Alive()) TerminateProcess(info_.hProcess, 1);
    if (info_.hProcess) CloseHandle(info_.hProcess);
    if (info_.hThread) CloseHandle(info_.hThread);
}

bool Program::Start(const std::wstring& path) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + path + L"\"";
    if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info_)) {
        return false;
    }
    return WaitUntil([this] { return (window_ = TopLevelOf(info_.dwProcessId, L"TavirelForm")) != nullptr; }, 20000);
}

bool Program::Close() {
    PostMessageW(window_, WM_CLOSE, 0, 0);
    return WaitForSingleObject(info_.hProcess, 10000) == WAIT_OBJECT_0;
}

bool Program::Alive() const { return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }

HWND Program::Control(Id id) const {
    struct Find {
        int id;
        HWND found;
    } find{id, nullptr};
    EnumChildWindows(window_, [](HWND hwnd, LPARAM lParam) -> BOOL {
        auto* f = reinterpret_cast<Find*>(lParam);
        if (GetDlgCtrlID(hwnd) != f->id) return TRUE;
        f->found = hwnd;
        return FALSE;
    }, reinterpret_cast<LPARAM>(&find));
    return find.found;
}

std::wstring Program::Text(Id id) const {
    HWND control = Control(id);
    DWORD_PTR length = 0;
    SendMessageTimeoutW(control, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length);
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                        5000, &copied);
    text.resize(copied);
    return text;
}

void Program::SetText(Id id, std::wstring_view text) const {
    const std::wstring copy(text);
    SendMessageW(Control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(copy.c_str()));
}

bool Program::Checked(Id id) const { return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

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
        for (const DWORD up : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wScan = c;
            input.ki.dwFlags = KEYEVENTF_UNICODE | up;
            inputs.push_back(input);
        }
    }
    Send(inputs);
}

void Key(WORD virtualKey, std::initializer_list<WORD> modifiers) {
    std::vector<INPUT> inputs;
    for (const WORD m : modifiers) inputs.push_back(KeyInput(m, false));
    inputs.push_back(KeyInput(virtualKey, false));
    inputs.push_back(KeyInput(virtualKey, true));
    for (const WORD m : modifiers) inputs.push_back(KeyInput(m, true));
    Send(inputs);
}

void Click(HWND control) {
    MoveTo(Centre(control), true);
    Send({MouseInput(MOUSEEVENTF_LEFTDOWN), MouseInput(MOUSEEVENTF_LEFTUP)});
}

void ClickAtEnd(HWND textBox) {
    RECT r{};
    GetWindowRect(textBox, &r);
    MoveTo({r.right - 4, (r.top + r.bottom) / 2}, true);
    Send({MouseInput(MOUSEEVENTF_LEFTDOWN), MouseInput(MOUSEEVENTF_LEFTUP)});
}

void DoubleClick(HWND control) {
    MoveTo(Centre(control), true);
    Send({MouseInput(MOUSEEVENTF_LEFTDOWN), MouseInput(MOUSEEVENTF_LEFTUP), MouseInput(MOUSEEVENTF_LEFTDOWN),
          MouseInput(MOUSEEVENTF_LEFTUP)});
}

void MouseDown(HWND control) {
    MoveTo(Centre(control), true);
    Send({MouseInput(MOUSEEVENTF_LEFTDOWN)});
}

void MouseUp() { Send({MouseInput(MOUSEEVENTF_LEFTUP)}); }

std::vector<COLORREF> ScreenPixels(HWND window, int& width, int& height) {
    RECT client{};
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    width = client.right;
    height = client.bottom;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) pixels.push_back(GetPixel(memory, x, y));
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

HWND ClipboardWindow() {
    static HWND window = CreateWindowW(L"STATIC", L"driver", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    return window;
}

namespace {
UINT Mark() { return RegisterClipboardFormatW(L"TavirelDriverMark"); }
bool Open() {
    return WaitUntil([] { return OpenClipboard(ClipboardWindow()) != FALSE; });
}
}  // namespace

bool PutOnClipboard(const std::string& ansiText) {
    if (!Open()) return false;
    EmptyClipboard();
    HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE, ansiText.size() + 1);
    std::memcpy(GlobalLock(text), ansiText.c_str(), ansiText.size() + 1);
    GlobalUnlock(text);
    const bool placed = SetClipboardData(CF_TEXT, text) != nullptr &&
                        SetClipboardData(Mark(), GlobalAlloc(GMEM_MOVEABLE, 1)) != nullptr;
    CloseClipboard();
    return placed;
}

bool ClipboardHasMark() { return IsClipboardFormatAvailable(Mark()) != FALSE; }

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

std::vector<UINT> ClipboardFormats() {
    std::vector<UINT> formats;
    if (!Open()) return formats;
    for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format)) {
        formats.push_back(format);
    }
    CloseClipboard();
    return formats;
}

}  // namespace driver
