#include "tests/e2e/user_input.h"

#include <cstdlib>
#include <iterator>

#include "tests/e2e/wait.h"

namespace e2e {

namespace {

bool IsExtended(WORD key) {
    switch (key) {
    case VK_INSERT:
    case VK_DELETE:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
        return true;
    default:
        return false;
    }
}

INPUT KeyInput(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (IsExtended(key) ? KEYEVENTF_EXTENDEDKEY : 0);
    return input;
}

void Send(std::vector<INPUT>& inputs) {
    if (inputs.empty()) return;
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

INPUT MouseInput(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    return input;
}

// Absolute coordinates run from 0 to 65535 over the primary screen; the
// system maps them back as dx * width / 65536, so round up.
LONG Normalised(LONG pixel, int extent) {
    return static_cast<LONG>((static_cast<long long>(pixel) * 65536 + extent - 1) / extent);
}

// Two clicks close together in place and time make a double-click. A click
// meant on its own is moved aside a little when it would pair up with the
// one before.
struct LastClick {
    POINT at{};
    ULONGLONG when = 0;
};
LastClick lastClick;

POINT ApartFromLastClick(POINT screen) {
    const int reach = GetSystemMetrics(SM_CXDOUBLECLK);
    const bool soon = GetTickCount64() - lastClick.when <= GetDoubleClickTime() + 100;
    if (soon && std::abs(screen.x - lastClick.at.x) <= reach && std::abs(screen.y - lastClick.at.y) <= reach) {
        screen.x -= reach + 2;
    }
    return screen;
}

void RememberClick(POINT screen) { lastClick = {screen, GetTickCount64()}; }

}  // namespace

void TypeText(std::wstring_view text) {
    std::vector<INPUT> inputs;
    for (wchar_t c : text) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wScan = c;
        input.ki.dwFlags = KEYEVENTF_UNICODE;
        inputs.push_back(input);
        input.ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    Send(inputs);
}

void Press(WORD virtualKey, std::initializer_list<WORD> modifiers) {
    std::vector<INPUT> inputs;
    for (WORD modifier : modifiers) inputs.push_back(KeyInput(modifier, false));
    inputs.push_back(KeyInput(virtualKey, false));
    inputs.push_back(KeyInput(virtualKey, true));
    for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it) inputs.push_back(KeyInput(*it, true));
    Send(inputs);
}

void MoveMouse(POINT screen) {
    std::vector<INPUT> inputs{MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE)};
    inputs[0].mi.dx = Normalised(screen.x, GetSystemMetrics(SM_CXSCREEN));
    inputs[0].mi.dy = Normalised(screen.y, GetSystemMetrics(SM_CYSCREEN));
    Send(inputs);
    WaitUntil([&] {
        POINT at{};
        return GetCursorPos(&at) && at.x == screen.x && at.y == screen.y;
    });
}

void MouseDown() {
    POINT at{};
    GetCursorPos(&at);
    RememberClick(at);
    std::vector<INPUT> inputs{MouseInput(MOUSEEVENTF_LEFTDOWN)};
    Send(inputs);
}

void MouseUp() {
    std::vector<INPUT> inputs{MouseInput(MOUSEEVENTF_LEFTUP)};
    Send(inputs);
}

void Click(POINT screen) {
    screen = ApartFromLastClick(screen);
    RememberClick(screen);
    MoveMouse(screen);
    std::vector<INPUT> inputs{MouseInput(MOUSEEVENTF_LEFTDOWN), MouseInput(MOUSEEVENTF_LEFTUP)};
    Send(inputs);
}

void DoubleClick(POINT screen) {
    screen = ApartFromLastClick(screen);
    RememberClick(screen);
    MoveMouse(screen);
    std::vector<INPUT> inputs{MouseInput(MOUSEEVENTF_LEFTDOWN), MouseInput(MOUSEEVENTF_LEFTUP),
                              MouseInput(MOUSEEVENTF_LEFTDOWN), MouseInput(MOUSEEVENTF_LEFTUP)};
    Send(inputs);
}

POINT CentreOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

POINT ClientPointOf(HWND window, int x, int y) {
    POINT point{x, y};
    ClientToScreen(window, &point);
    return point;
}

}  // namespace e2e
