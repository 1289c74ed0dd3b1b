// What the system says about the resolution a window is shown at, and the
// sizes of the frame and the icons there. Windows 7 and 8 have one resolution
// for every monitor; Windows 8.1 answers per monitor (shcore.dll), and
// Windows 10 1607 per window, where it also gives the frame and the metrics
// at any resolution. All that is newer than Windows 7 is looked up while the
// program runs, so that the program file imports nothing Windows 7 lacks.
#include <windows.h>

#include "forms_runtime/form_internal.h"
#include "forms_runtime/scoped_gdi.h"

namespace forms {

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);                                      // Windows 10 1607
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);           // 8.1, shcore.dll
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);  // 10 1607
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);                           // 10 1607
using EnableNonClientDpiScalingFn = BOOL(WINAPI*)(HWND);                            // 10 1607
constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI: the scale the user chose for the monitor

// A function of a system DLL by name, or null where this Windows lacks it.
template <typename Fn>
Fn Function(HMODULE module, const char* name) {
    const FARPROC found = module ? GetProcAddress(module, name) : nullptr;
    // Through a plain function pointer: GetProcAddress knows no signature.
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(found));
}

HMODULE User32() {
    return GetModuleHandleW(L"user32.dll");
}

// Loaded from the system folder alone, once, and kept for the program's
// life; null before Windows 8.1 (and on a Windows 7 without the update that
// knows the flag, which has no shcore.dll either).
HMODULE Shcore() {
    static const HMODULE shcore = LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return shcore;
}

int SystemDpi() {
    const ScopedGetDc screen(nullptr);
    return GetDeviceCaps(screen.Get(), LOGPIXELSY);
}

}  // namespace

int CurrentDpi(HWND window) {
    static const auto forWindow = Function<GetDpiForWindowFn>(User32(), "GetDpiForWindow");
    if (forWindow) {
        if (const UINT dpi = forWindow(window))
            return static_cast<int>(dpi);
    }
    static const auto forMonitor = Function<GetDpiForMonitorFn>(Shcore(), "GetDpiForMonitor");
    UINT x = 0, y = 0;
    if (forMonitor &&
        SUCCEEDED(forMonitor(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), kEffectiveDpi, &x, &y)) && y != 0) {
        return static_cast<int>(y);
    }
    return SystemDpi();
}

// Per-monitor awareness as 1607 has it (the manifest's fallback there)
// leaves the title bar at the system's resolution unless asked; with the
// later awareness the call changes nothing.
void ScaleFrameWithResolution(HWND window) {
    static const auto enable = Function<EnableNonClientDpiScalingFn>(User32(), "EnableNonClientDpiScaling");
    if (enable)
        enable(window);
}

SIZE FrameSize(HWND window, int width, int height, int dpi) {
    static const auto adjustForDpi = Function<AdjustWindowRectExForDpiFn>(User32(), "AdjustWindowRectExForDpi");
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
    RECT frame{0, 0, width, height};
    // Before 1607 the frame is the system's at every resolution: Windows 8.1
    // does not scale the frames of per-monitor programs.
    if (!adjustForDpi || !adjustForDpi(&frame, style, FALSE, exStyle, static_cast<UINT>(dpi))) {
        frame = RECT{0, 0, width, height};
        AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    }
    return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

void FitClientArea(HWND window, int width, int height) {
    // The frame the system really draws may differ from its estimate (a title
    // bar that a change of resolution is still reshaping): what the client
    // area lacks or has over is taken up, the top-left staying.
    RECT client{};
    GetClientRect(window, &client);
    const int missingWidth = width - client.right;
    const int missingHeight = height - client.bottom;
    if (missingWidth == 0 && missingHeight == 0)
        return;
    RECT outer{};
    GetWindowRect(window, &outer);
    SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left + missingWidth,
                 outer.bottom - outer.top + missingHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int SystemMetric(int index, int dpi) {
    static const auto forDpi = Function<GetSystemMetricsForDpiFn>(User32(), "GetSystemMetricsForDpi");
    return forDpi ? forDpi(index, static_cast<UINT>(dpi)) : GetSystemMetrics(index);
}

}  // namespace forms
