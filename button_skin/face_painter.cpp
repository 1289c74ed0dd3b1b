#include "button_skin/face_painter.h"

#include <cmath>
#include <cstddef>

#include "forms_runtime/scoped_gdi.h"
#include "numbers/checked_arithmetic.h"

namespace mVistaButton::face {

FacePainter::FacePainter(HDC dc, RECT& item)
    : dc_(dc),
      item_(item),
      received_(item),
      width_(numbers::CheckedSub(item.right, item.left)),
      height_(numbers::CheckedSub(item.bottom, item.top)) {}

std::int32_t FacePainter::X(Coord c) const {
    return c.fromEnd ? numbers::CheckedSub(width_, c.offset) : c.offset;
}

std::int32_t FacePainter::Y(Coord c) const {
    return c.fromEnd ? numbers::CheckedSub(height_, c.offset) : c.offset;
}

RECT FacePainter::Box(Coord left, Coord top, Coord right, Coord bottom) const {
    RECT box;
    box.left = X(left);
    box.top = Y(top);
    box.right = X(right);
    box.bottom = Y(bottom);
    return box;
}

void FacePainter::Bands(const BandSteps& steps, const BandColours& colours) {
    const std::int32_t right = X(FromEnd(2));
    // No floating-point status is tested here: none can be raised. H - 4 is
    // a 32-bit integer, exact in double; divided by 6.0 it lies within
    // +-3.6e8, and adding a step of at most 2 and a 32-bit top keeps every
    // sum within +-2.6e9: whole numbers far inside double's range, never a
    // NaN, an infinity or a division by zero. What can happen, a band edge
    // beyond 32 bits, is the Overflow error of the conversion below.
    const double q = static_cast<double>(Y(FromEnd(4))) / 6.0;

    // Band 1 starts at row 2 but ends at floor(q + k1) itself, not 2 rows on.
    std::int32_t top = 2;
    for (std::size_t band = 0; band < steps.size(); ++band) {
        double bottom = std::floor(q + steps[band]);
        if (band > 0)
            bottom += top;
        const std::int32_t next = numbers::CheckedToInt32(bottom);
        Fill(RECT{2, top, right, next}, colours[band]);
        top = next;
    }
    Fill(RECT{2, top, right, Y(FromEnd(2))}, colours.back());
}

// Each brush and pen is made for its one step and freed at the end of it,
// selected into the DC while it lasts: nothing is kept between paints.
void FacePainter::Fill(const RECT& box, COLORREF colour) {
    item_ = box;
    const HBRUSH brush = CreateSolidBrush(colour);
    const forms::ScopedSelect selected(dc_, forms::OwnedBrush(brush));
    if (brush)
        FillRect(dc_, &item_, brush);
}

void FacePainter::Frame(const RECT& box, COLORREF colour) {
    item_ = box;
    const HBRUSH brush = CreateSolidBrush(colour);
    const forms::ScopedSelect selected(dc_, forms::OwnedBrush(brush));
    if (brush)
        FrameRect(dc_, &item_, brush);
}

void FacePainter::Pixels(std::span<const PixelAt> places, std::span<const COLORREF> colours) {
    for (std::size_t i = 0; i < places.size(); ++i) {
        const int x = X(places[i].x);
        const int y = Y(places[i].y);
        // The user may change the system colours between two paints, or
        // between two pixels of one paint.
        const COLORREF colour = colours[i] == kButtonFace ? GetSysColor(COLOR_BTNFACE) : colours[i];
        SetPixelV(dc_, x, y, colour);
    }
}

void FacePainter::OuterCorners(const OuterCornerColours& colours) {
    Pixels(kOuterCornerPixels, colours);
}

void FacePainter::InnerCorners(const InnerCornerColours& colours) {
    Pixels(kInnerCornerPixels, colours);
}

void FacePainter::HorizontalLine(Coord from, Coord to, Coord y, COLORREF colour) {
    const int x0 = X(from);
    const int row = Y(y);
    const int x1 = X(to);
    const forms::ScopedSelect pen(dc_, forms::OwnedPen(CreatePen(PS_SOLID, 1, colour)));
    MoveToEx(dc_, x0, row, nullptr);
    LineTo(dc_, x1, row);
}

void FacePainter::Caption(const RECT& box, COLORREF colour, const wchar_t* caption) {
    item_ = box;
    SetTextColor(dc_, colour);
    DrawTextW(dc_, caption, -1, &item_, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

// With the system's own brushes, which are borrowed: nothing to free.
void FacePainter::Flat(const FlatFace& face, const wchar_t* caption) {
    const RECT whole = Box(FromStart(0), FromStart(0), FromEnd(0), FromEnd(0));
    item_ = whole;
    FillRect(dc_, &item_, GetSysColorBrush(face.surface));
    for (std::int32_t ring = 0; ring < face.rings; ++ring) {
        item_ = Box(FromStart(ring), FromStart(ring), FromEnd(ring), FromEnd(ring));
        FrameRect(dc_, &item_, GetSysColorBrush(face.outline));
    }
    Caption(whole, GetSysColor(face.text), caption);
}

}  // namespace mVistaButton::face
