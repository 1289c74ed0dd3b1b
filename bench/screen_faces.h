// Reading the screen from another process, and telling whether a button on
// it shows one of the skin's faces.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace bench {

// A copy of a rectangle of the screen (GetDC(NULL) + BitBlt), 32 bits a
// pixel, top row first. Under Wine a window's own DC reads back black from
// another process; the screen reads what the display shows.
class ScreenShot {
public:
    explicit ScreenShot(const RECT& area);
    COLORREF At(int x, int y) const;  // relative to the area's top left
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool operator==(const ScreenShot& other) const = default;

private:
    int width_ = 0, height_ = 0;
    std::vector<std::uint32_t> pixels_;
};

// The four faces at one button size, painted here with the skin's own
// routines. A button shows a face when both of its edge strips (the six
// columns at each side, clear of the caption) match that face exactly.
class FaceMatcher {
public:
    FaceMatcher(int width, int height);
    bool Matches(const ScreenShot& shot, int left, int top) const;

private:
    static constexpr int kStrip = 6;
    int width_, height_;
    std::vector<std::vector<COLORREF>> faces_;  // each width x height, top row first
};

}  // namespace bench
