#include "screen_faces.h"

#include "button_skin/mVistaButton.h"

namespace bench {

namespace {

// A top-down 32-bit DIB section of that size; bits receives its pixels.
HBITMAP MakeDib(HDC dc, int width, int height, std::uint32_t*& bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* raw = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &raw, nullptr, 0);
    bits = static_cast<std::uint32_t*>(raw);
    return bitmap;
}

// A DIB section selected into a memory DC.
struct Canvas {
    std::uint32_t* bits = nullptr;
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;

    Canvas(int width, int height)
        : dc(CreateCompatibleDC(nullptr)), bitmap(MakeDib(dc, width, height, bits)), old(SelectObject(dc, bitmap)) {}
    ~Canvas() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    Canvas(Canvas&&) = delete;
    Canvas& operator=(Canvas&&) = delete;
};

COLORREF FromDib(std::uint32_t pixel) { return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF); }

}  // namespace

ScreenShot::ScreenShot(const RECT& area)
    : width_(area.right - area.left), height_(area.bottom - area.top) {
    if (width_ <= 0 || height_ <= 0) {
        width_ = height_ = 0;
        return;
    }
    Canvas canvas(width_, height_);
    HDC screen = GetDC(nullptr);
    BitBlt(canvas.dc, 0, 0, width_, height_, screen, area.left, area.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    GdiFlush();
    pixels_.assign(canvas.bits, canvas.bits + static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_));
}

COLORREF ScreenShot::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
    return FromDib(pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)]);
}

FaceMatcher::FaceMatcher(int width, int height) : width_(width), height_(height) {
    using Paint = void (*)(HDC, RECT&, const wchar_t*);
    const Paint kFaces[] = {mVistaButton::DrawNormalFace, mVistaButton::DrawPressedFace,
                            mVistaButton::DrawFocusedFace, mVistaButton::DrawDisabledFace};
    for (Paint paint : kFaces) {
        Canvas canvas(width, height);
        RECT item{0, 0, width, height};
        SetBkMode(canvas.dc, TRANSPARENT);
        paint(canvas.dc, item, L"");
        GdiFlush();
        const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
        std::vector<COLORREF> face(count);
        for (std::size_t i = 0; i < count; ++i) face[i] = FromDib(canvas.bits[i]);
        faces_.push_back(std::move(face));
    }
}

bool FaceMatcher::Matches(const ScreenShot& shot, int left, int top) const {
    for (const auto& face : faces_) {
        bool same = true;
        for (int y = 0; y < height_ && same; ++y) {
            for (int x = 0; x < width_ && same; ++x) {
                if (x >= kStrip && x < width_ - kStrip) continue;
                const std::size_t at = static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
                same = shot.At(left + x, top + y) == face[at];
            }
        }
        if (same) return true;
    }
    return false;
}

}  // namespace bench
