// Pixels as they are on the screen. A window's own DC of another process reads
// back black under Wine, so the driver copies from the screen's DC.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace e2e {

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};
Rgb FromColorRef(COLORREF colour);
std::string Describe(Rgb colour);

// A copy of a screen rectangle; At(x, y) is relative to its top-left.
class ScreenShot {
public:
    explicit ScreenShot(const RECT& screenRect);
    int Width() const { return width_; }
    int Height() const { return height_; }
    Rgb At(int x, int y) const;

private:
    int width_, height_;
    std::vector<std::uint32_t> pixels_;  // 0x00RRGGBB, row by row
};

// An icon drawn by this process in a memory bitmap, over black and over
// white: a pixel that comes out the same on both is opaque.
struct IconPicture {
    int width = 0, height = 0;
    std::vector<bool> opaque;
    std::vector<Rgb> colour;
};
IconPicture DrawIcon(HICON icon, int width, int height);

}  // namespace e2e
