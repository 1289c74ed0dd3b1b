// A picture in memory, 32 bits a pixel, read pixel by pixel: what a test draws, or what the screen shows of a window.
#pragma once

#include <windows.h>

#include "forms_runtime/scoped_gdi.h"

namespace test_support {

inline SIZE ClientSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

class Picture {
public:
    // width x height in one colour.
    Picture(int w, int h, COLORREF fill) : width(w), height(h) {
        RECT all{0, 0, width, height};
        SetDCBrushColor(Dc(), fill);
        FillRect(Dc(), &all, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    }
    // A window's client area as the screen shows it: another process's window DC reads back black under Wine.
    explicit Picture(HWND window) : Picture(ClientSize(window).cx, ClientSize(window).cy, 0) {
        POINT origin{0, 0};
        ClientToScreen(window, &origin);
        const forms::ScopedGetDc screen(nullptr);
        BitBlt(Dc(), 0, 0, width, height, screen.Get(), origin.x, origin.y, SRCCOPY);
    }
    HDC Dc() const { return dc_.get(); }
    COLORREF operator()(int x, int y) const { return GetPixel(Dc(), x, y); }
    const int width, height;

private:
    struct DeleteDc {
        void operator()(HDC dc) const noexcept { DeleteDC(dc); }
    };
    forms::Owned<HDC, DeleteDc> dc_{CreateCompatibleDC(nullptr)};
    forms::ScopedSelect bitmap_{Dc(), forms::OwnedGdiObject(CreateBitmap(width, height, 1, 32, nullptr))};
};

}  // namespace test_support
