// The frame container. Its controls are its child windows, so their positions
// are relative to the frame as the definition gives them; everything they
// notify is handed on to the form, where the events are raised.
#include <windows.h>

#include <string>

#include "forms_runtime/form_internal.h"
#include "forms_runtime/scoped_gdi.h"
#include "forms_runtime/window_text.h"

namespace forms {

const wchar_t kFrameClass[] = L"TavirelFrame";

namespace {

HFONT FrameFont(HWND frame) {
    return reinterpret_cast<HFONT>(GetWindowLongPtrW(frame, 0));
}

// The etched border, broken at the top by the caption, in the frame's font.
void DrawFrame(HWND frame, HDC dc) {
    RECT client;
    GetClientRect(frame, &client);
    const std::wstring caption = WindowText(frame);
    const int length = static_cast<int>(caption.size());

    const ScopedSelect font(dc, FrameFont(frame));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);

    // The border runs through the middle of the caption's line.
    RECT border = client;
    border.top += metrics.tmHeight / 2;
    DrawEdge(dc, &border, EDGE_ETCHED, BF_RECT);

    if (!caption.empty()) {
        SIZE extent{};
        GetTextExtentPoint32W(dc, caption.c_str(), length, &extent);
        // 6 pixels at 96 DPI, at the resolution the form is laid out at now.
        const Form* form = FormOwning(frame);
        const int left = MulDiv(6, form ? form->Dpi() : GetDeviceCaps(dc, LOGPIXELSX), 96);
        RECT text{left, 0, left + extent.cx + 2, metrics.tmHeight};
        FillRect(dc, &text, GetSysColorBrush(COLOR_BTNFACE));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        TextOutW(dc, left + 1, 0, caption.c_str(), length);
    }
}

void PaintFrame(HWND frame) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(frame, &ps);
    DrawFrame(frame, dc);
    EndPaint(frame, &ps);
}

LRESULT CALLBACK FrameProc(HWND frame, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_DRAWITEM:
        return SendMessageW(GetParent(frame), msg, wParam, lParam);
    case WM_SETFONT:
        SetWindowLongPtrW(frame, 0, static_cast<LONG_PTR>(wParam));
        if (LOWORD(lParam))
            InvalidateRect(frame, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return GetWindowLongPtrW(frame, 0);
    case WM_SETTEXT: {
        const LRESULT result = DefWindowProcW(frame, msg, wParam, lParam);
        InvalidateRect(frame, nullptr, TRUE);
        return result;
    }
    case WM_PAINT:
        PaintFrame(frame);
        return 0;
    default:
        return DefWindowProcW(frame, msg, wParam, lParam);
    }
}

}  // namespace

ATOM RegisterFrameClass(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = FrameProc;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kFrameClass;
    return RegisterClassExW(&wc);
}

}  // namespace forms
