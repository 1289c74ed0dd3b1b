// The face of the button that has the focus: a pale blue-grey gradient inside
// three frames, a blue one, a cyan one and a pale one.
#include "button_skin/face_painter.h"
#include "button_skin/mVistaButton.h"
#include "forms_runtime/high_contrast.h"

namespace mVistaButton {

namespace {
using namespace face;

constexpr BandSteps kSteps{0.5, 0.5, 0.5, 0.5, 0.5};
constexpr BandColours kBands{RGB(238, 243, 245), RGB(235, 240, 242), RGB(233, 238, 241),
                             RGB(213, 223, 229), RGB(208, 220, 227), RGB(202, 215, 222)};
constexpr COLORREF kOuterFrame = RGB(60, 127, 177);
constexpr OuterCornerColours kOuterCorners{
    kButtonFace,       RGB(160, 190, 212), RGB(86, 143, 186), RGB(158, 188, 211), RGB(83, 142, 185),
    RGB(86, 143, 186), RGB(160, 190, 212), kButtonFace,       RGB(158, 188, 211), RGB(83, 142, 185),
    RGB(83, 142, 185), RGB(158, 188, 211), kButtonFace,       RGB(155, 187, 210), RGB(81, 140, 184),
    RGB(83, 142, 185), RGB(158, 188, 211), RGB(81, 140, 184), RGB(155, 187, 210), kButtonFace};
constexpr COLORREF kInnerFrame = RGB(64, 215, 252);
constexpr COLORREF kInnermostFrame = RGB(210, 238, 246);
constexpr InnerCornerColours kInnerCorners{RGB(58, 147, 194), RGB(59, 201, 242), RGB(59, 202, 242),  RGB(106, 222, 251),
                                           RGB(59, 201, 242), RGB(58, 147, 194), RGB(106, 222, 251), RGB(59, 202, 242),
                                           RGB(52, 195, 236), RGB(88, 207, 239), RGB(56, 145, 193),  RGB(51, 196, 237),
                                           RGB(88, 207, 239), RGB(52, 195, 236), RGB(51, 196, 237),  RGB(56, 145, 193)};
constexpr COLORREF kText = RGB(0, 0, 0);
constexpr FlatFace kHighContrast{COLOR_BTNFACE, COLOR_HIGHLIGHT, 2, COLOR_BTNTEXT};
}  // namespace

void DrawFocusedFace(HDC dc, RECT& item, const wchar_t* caption) {
    FacePainter paint(dc, item);
    if (forms::HighContrast())
        return paint.Flat(kHighContrast, caption);
    paint.Bands(kSteps, kBands);
    paint.Frame(paint.Box(FromStart(0), FromStart(0), FromEnd(0), FromEnd(0)), kOuterFrame);
    paint.OuterCorners(kOuterCorners);
    paint.Frame(paint.Box(FromStart(1), FromStart(1), FromEnd(1), FromEnd(1)), kInnerFrame);
    paint.Frame(paint.Box(FromStart(2), FromStart(2), FromEnd(2), FromEnd(2)), kInnermostFrame);
    paint.InnerCorners(kInnerCorners);
    paint.Caption(paint.Box(FromStart(0), FromStart(1), FromEnd(0), FromEnd(1)), kText, caption);
}

}  // namespace mVistaButton
