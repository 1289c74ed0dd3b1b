// The test's own picture of each button face, built from the colour and
// position tables of the four faces, and a 32-bit memory bitmap to paint the
// real faces into.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

namespace skin_test {

enum class Kind { Normal, Pressed, Focused, Disabled };
const char* Name(Kind kind);
inline constexpr Kind kAllKinds[] = {Kind::Normal, Kind::Pressed, Kind::Focused, Kind::Disabled};

// Pixels as a 32-bit DIB holds them: 0x00RRGGBB.
using Pixel = std::uint32_t;
constexpr Pixel Rgb(int r, int g, int b) {
    return static_cast<Pixel>(r) << 16 | static_cast<Pixel>(g) << 8 | static_cast<Pixel>(b);
}
inline constexpr Pixel kSentinel = Rgb(1, 2, 3);
Pixel FromColorRef(COLORREF colour);

// The text colour of each face, and the colour of band 1..6 of a gradient.
Pixel TextColour(Kind kind);
Pixel BandColour(Kind kind, int band);

// A top-down 32-bit DIB section in a memory DC, filled with kSentinel. The
// DC's logical (0, 0) is at bitmap pixel (origin, origin), so that what a face
// paints left of or above (0, 0) shows as well.
class Canvas {
public:
    Canvas(int width, int height, int origin);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Dc() const { return dc_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int Origin() const { return origin_; }
    void Clear();
    std::vector<Pixel> Pixels() const;  // row by row, after GdiFlush

private:
    int width_, height_, origin_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ oldBitmap_;
    Pixel* bits_;
};

// An expected picture over the same bitmap, in the same logical coordinates.
struct Picture {
    explicit Picture(const Canvas& canvas);
    int width, height, origin;
    std::vector<Pixel> pixels;

    void Set(std::int64_t x, std::int64_t y, Pixel colour);
    // As GDI fills a rectangle: a rectangle given right-to-left or bottom-to-
    // top covers the span from its end + 1 through its start.
    void Fill(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom, Pixel colour);
    // The one-pixel border of a rectangle; nothing when it is empty or inverted.
    void Frame(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom, Pixel colour);
    // A pen line on row y from x0 towards x1, x1 itself excluded.
    void Line(std::int64_t x0, std::int64_t x1, std::int64_t y, Pixel colour);
};

struct Expected {
    Picture picture;
    bool overflows = false;       // the face stops with the Overflow error
    int outerCornersSet = 0;      // how many outer corner pixels were set by then
    RECT itemAtReturn{};          // the caption's rectangle, when it gets that far
};

// What `kind` paints for `item` with an empty caption.
Expected ExpectFace(Kind kind, const RECT& item, const Canvas& canvas);

// Paints the real face.
void DrawFace(Kind kind, HDC dc, RECT& item, const wchar_t* caption);

::testing::AssertionResult SamePicture(const std::vector<Pixel>& actual, const Picture& expected);

}  // namespace skin_test
