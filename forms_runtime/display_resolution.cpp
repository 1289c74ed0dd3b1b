// What the system says about the resolution a window is shown at. The calls
// that answer per window came with Windows 10; they are looked up when the
// program runs, so that it still starts on Windows 7, where the system's one
// resolution is the answer.
#include <windows.h>

#include "forms_runtime/form_internal.h"

namespace forms {

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

// A function of user32 by name, or null where this Windows lacks it.
template <typename Fn>
Fn User32Function(const char* name) {
    const FARPROC found = GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
    // Through a plain function pointer: GetProcAddress knows no signature.
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(found));
}

int SystemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

}  // namespace

int CurrentDpi(HWND window) {
    static const auto getDpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
    if (getDpiForWindow) {
        if (const UINT dpi = getDpiForWindow(window)) return static_cast<int>(dpi);
    }
    return SystemDpi();
}

void SetClientSize(HWND window, int width, int height) {
    static const auto adjustForDpi = User32Function<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi");
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
    RECT frame{0, 0, width, height};
    if (adjustForDpi) {
        adjustForDpi(&frame, style, FALSE, exStyle, static_cast<UINT>(CurrentDpi(window)));
    } else {
        AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    }
    constexpr UINT kSizeOnly = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
    SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top, kSizeOnly);

    // The frame the system really draws may differ from its estimate (a title
    // bar that a change of resolution is still reshaping): what the client
    // area lacks or has over is taken up once more.
    RECT client{};
    GetClientRect(window, &client);
    const int missingWidth = width - client.right;
    const int missingHeight = height - client.bottom;
    if (missingWidth != 0 || missingHeight != 0) {
        RECT outer{};
        GetWindowRect(window, &outer);
        SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left + missingWidth,
                     outer.bottom - outer.top + missingHeight, kSizeOnly);
    }
}

}  // namespace forms
