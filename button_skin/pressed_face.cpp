// The face of a button held down: a blue gradient whose upper bands are
// taller, a light line along the bottom, and the caption one row lower.
#include "button_skin/face_painter.h"
#include "button_skin/mVistaButton.h"
#include "forms_runtime/high_contrast.h"

namespace mVistaButton {

namespace {
using namespace face;

constexpr BandSteps kSteps{2.0, 2.0, 1.0, 0.5, 0.5};
constexpr BandColours kBands{RGB(225, 242, 251), RGB(216, 238, 250), RGB(201, 231, 247),
                             RGB(152, 209, 239), RGB(140, 202, 235), RGB(127, 194, 229)};
constexpr COLORREF kOuterFrame = RGB(44, 98, 139);
constexpr OuterCornerColours kOuterCorners{kButtonFace,       RGB(57, 89, 113),  RGB(46, 96, 134),  RGB(51, 86, 113),
                                           RGB(44, 95, 134),  RGB(46, 96, 134),  RGB(57, 89, 113),  kButtonFace,
                                           RGB(51, 86, 113),  RGB(44, 95, 134),  RGB(45, 97, 136),  RGB(71, 110, 140),
                                           kButtonFace,       RGB(75, 117, 147), RGB(46, 100, 140), RGB(45, 97, 136),
                                           RGB(71, 110, 140), RGB(46, 100, 140), RGB(75, 117, 147), kButtonFace};
constexpr COLORREF kInnerFrame = RGB(186, 203, 213);
constexpr COLORREF kBottomLine = RGB(104, 178, 218);
constexpr InnerCornerColours kInnerCorners{
    RGB(58, 104, 138),  RGB(134, 157, 171), RGB(134, 157, 171), RGB(186, 203, 213),
    RGB(149, 171, 184), RGB(58, 104, 138),  RGB(186, 203, 213), RGB(149, 171, 184),
    RGB(85, 146, 181),  RGB(109, 181, 220), RGB(47, 100, 138),  RGB(99, 172, 211),
    RGB(109, 181, 220), RGB(85, 146, 181),  RGB(99, 172, 211),  RGB(47, 100, 138)};
constexpr COLORREF kText = RGB(0, 0, 0);
constexpr FlatFace kHighContrast{COLOR_HIGHLIGHT, COLOR_WINDOWFRAME, 1, COLOR_HIGHLIGHTTEXT};
}  // namespace

void DrawPressedFace(HDC dc, RECT& item, const wchar_t* caption) {
    FacePainter paint(dc, item);
    if (forms::HighContrast())
        return paint.Flat(kHighContrast, caption);
    paint.Bands(kSteps, kBands);
    paint.Frame(paint.Box(FromStart(0), FromStart(0), FromEnd(0), FromEnd(0)), kOuterFrame);
    paint.OuterCorners(kOuterCorners);
    paint.Frame(paint.Box(FromStart(1), FromStart(1), FromEnd(1), FromEnd(1)), kInnerFrame);
    // Leaves the DC's current position at (W - 2, H - 2).
    paint.HorizontalLine(FromStart(2), FromEnd(2), FromEnd(2), kBottomLine);
    paint.InnerCorners(kInnerCorners);
    paint.Caption(paint.Box(FromStart(0), FromStart(1), FromEnd(0), FromEnd(1)), kText, caption);
}

}  // namespace mVistaButton
