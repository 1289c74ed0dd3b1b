// What the four button faces have in common: a face is painted from (0, 0)
// of the DC, W x H pixels as given by the item rectangle it receives, with
// every coordinate worked out in checked signed 32-bit arithmetic. The item
// rectangle is the face's working rectangle: the rectangle of each fill,
// frame and caption is written into it just before that step, which draws
// from it, so that it holds the caption's rectangle at the end. Nothing in
// the program reads it afterwards: WindowProc hands DrawButton the rectangle
// of its own copy of the draw request, so Windows' record stays as it was.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <span>

namespace mVistaButton::face {

// A coordinate of a face: a distance from its left or top edge, or from W or
// H (FromEnd(3) on the x axis is W - 3).
struct Coord {
    bool fromEnd;
    std::int32_t offset;
};
constexpr Coord FromStart(std::int32_t offset) {
    return {false, offset};
}
constexpr Coord FromEnd(std::int32_t offset) {
    return {true, offset};
}

// Stands for the system's button face colour, read again for each pixel.
inline constexpr COLORREF kButtonFace = CLR_INVALID;

struct PixelAt {
    Coord x;
    Coord y;
};

// Where the corner pixels go, in the order they are set: the same places on
// every face, only the colours differ.
// clang-format off
inline constexpr std::array<PixelAt, 20> kOuterCornerPixels{{
    {FromStart(0), FromStart(0)}, {FromStart(1), FromStart(0)}, {FromStart(2), FromStart(0)},
    {FromStart(0), FromStart(1)}, {FromStart(0), FromStart(2)},
    {FromEnd(3), FromStart(0)}, {FromEnd(2), FromStart(0)}, {FromEnd(1), FromStart(0)},
    {FromEnd(1), FromStart(1)}, {FromEnd(1), FromStart(2)},
    {FromStart(0), FromEnd(3)}, {FromStart(0), FromEnd(2)}, {FromStart(0), FromEnd(1)},
    {FromStart(1), FromEnd(1)}, {FromStart(2), FromEnd(1)},
    {FromEnd(1), FromEnd(3)}, {FromEnd(1), FromEnd(2)},
    {FromEnd(3), FromEnd(1)}, {FromEnd(2), FromEnd(1)}, {FromEnd(1), FromEnd(1)},
}};
inline constexpr std::array<PixelAt, 16> kInnerCornerPixels{{
    {FromStart(1), FromStart(1)}, {FromStart(2), FromStart(1)},
    {FromStart(1), FromStart(2)}, {FromStart(2), FromStart(2)},
    {FromEnd(3), FromStart(1)}, {FromEnd(2), FromStart(1)},
    {FromEnd(3), FromStart(2)}, {FromEnd(2), FromStart(2)},
    {FromStart(1), FromEnd(3)}, {FromStart(2), FromEnd(3)},
    {FromStart(1), FromEnd(2)}, {FromStart(2), FromEnd(2)},
    {FromEnd(3), FromEnd(3)}, {FromEnd(2), FromEnd(3)},
    {FromEnd(3), FromEnd(2)}, {FromEnd(2), FromEnd(2)},
}};
// clang-format on

using OuterCornerColours = std::array<COLORREF, kOuterCornerPixels.size()>;
using InnerCornerColours = std::array<COLORREF, kInnerCornerPixels.size()>;

// The gradient: six bands between rows 2 and H - 2. Band 1 ends at row
// floor(q + k1) with q = (H - 4) / 6; bands 2 to 5 are floor(q + kn) rows
// high; band 6 fills the rest. The k of bands 1 to 5:
using BandSteps = std::array<double, 5>;
using BandColours = std::array<COLORREF, 6>;

// A face's flat form under a high-contrast theme, in the system's colours
// (COLOR_ indices): its surface, an outline of `rings` pixels and its caption.
struct FlatFace {
    int surface, outline, rings, text;
};

class FacePainter {
public:
    // Takes W and H from the item rectangle as received; Overflow when either
    // leaves the 32-bit range.
    FacePainter(HDC dc, RECT& item);

    const RECT& Received() const noexcept { return received_; }

    // A rectangle of the face, e.g. Box(FromStart(1), FromStart(1), FromEnd(1), FromEnd(1)).
    RECT Box(Coord left, Coord top, Coord right, Coord bottom) const;

    void Bands(const BandSteps& steps, const BandColours& colours);
    void Fill(const RECT& box, COLORREF colour);
    void Frame(const RECT& box, COLORREF colour);
    void OuterCorners(const OuterCornerColours& colours);
    void InnerCorners(const InnerCornerColours& colours);
    // A one-pixel line on row y from x = from up to, not including, x = to.
    void HorizontalLine(Coord from, Coord to, Coord y, COLORREF colour);
    void Caption(const RECT& box, COLORREF colour, const wchar_t* caption);
    void Flat(const FlatFace& face, const wchar_t* caption);

private:
    std::int32_t X(Coord c) const;
    std::int32_t Y(Coord c) const;
    void Pixels(std::span<const PixelAt> places, std::span<const COLORREF> colours);

    HDC dc_;
    RECT& item_;
    const RECT received_;
    const std::int32_t width_;
    const std::int32_t height_;
};

}  // namespace mVistaButton::face
