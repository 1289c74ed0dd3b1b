#include "tests/e2e/screen.h"

#include <cstdio>
#include <cstring>

namespace e2e {

namespace {

// A top-down 32-bit DIB section selected into a memory DC.
class Bitmap {
public:
    Bitmap(int width, int height) : width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
    }
    ~Bitmap() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;

    HDC Dc() const { return dc_; }
    std::vector<std::uint32_t> Pixels() const {
        GdiFlush();
        std::vector<std::uint32_t> pixels(static_cast<size_t>(width_) * static_cast<size_t>(height_));
        if (bits_ != nullptr) std::memcpy(pixels.data(), bits_, pixels.size() * sizeof(std::uint32_t));
        return pixels;
    }

private:
    int width_, height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
    void* bits_ = nullptr;
};

Rgb FromPixel(std::uint32_t pixel) {
    return {static_cast<int>(pixel >> 16 & 0xFF), static_cast<int>(pixel >> 8 & 0xFF), static_cast<int>(pixel & 0xFF)};
}

}  // namespace

Rgb FromColorRef(COLORREF colour) { return {GetRValue(colour), GetGValue(colour), GetBValue(colour)}; }

std::string Describe(Rgb colour) {
    char text[40];
    std::snprintf(text, sizeof text, "(%d,%d,%d)", colour.r, colour.g, colour.b);
    return text;
}

ScreenShot::ScreenShot(const RECT& screenRect)
    : width_(screenRect.right - screenRect.left), height_(screenRect.bottom - screenRect.top) {
    Bitmap bitmap(width_, height_);
    HDC screen = GetDC(nullptr);
    BitBlt(bitmap.Dc(), 0, 0, width_, height_, screen, screenRect.left, screenRect.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    pixels_ = bitmap.Pixels();
}

Rgb ScreenShot::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return {-1, -1, -1};
    return FromPixel(pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)]);
}

IconPicture DrawIcon(HICON icon, int width, int height) {
    IconPicture picture;
    picture.width = width;
    picture.height = height;
    Bitmap onBlack(width, height);
    Bitmap onWhite(width, height);
    RECT all{0, 0, width, height};
    FillRect(onBlack.Dc(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    FillRect(onWhite.Dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    DrawIconEx(onBlack.Dc(), 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
    DrawIconEx(onWhite.Dc(), 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
    const auto black = onBlack.Pixels();
    const auto white = onWhite.Pixels();
    for (size_t i = 0; i < black.size(); ++i) {
        picture.opaque.push_back(black[i] == white[i]);
        picture.colour.push_back(FromPixel(black[i]));
    }
    return picture;
}

}  // namespace e2e
