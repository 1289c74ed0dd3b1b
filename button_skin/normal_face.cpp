// The face of a button at rest: a grey gradient in a dark grey frame.
#include "button_skin/face_painter.h"
#include "button_skin/mVistaButton.h"
#include "forms_runtime/high_contrast.h"

namespace mVistaButton {

namespace {
using namespace face;

constexpr BandSteps kSteps{0.5, 0.5, 0.5, 0.5, 0.5};
constexpr BandColours kBands{RGB(242, 242, 242), RGB(240, 240, 240), RGB(236, 236, 236),
                             RGB(219, 219, 219), RGB(216, 216, 216), RGB(209, 209, 209)};
constexpr COLORREF kOuterFrame = RGB(112, 112, 112);
constexpr OuterCornerColours kOuterCorners{
    kButtonFace,        RGB(144, 144, 144), RGB(119, 119, 119), RGB(135, 136, 136), RGB(117, 117, 117),
    RGB(119, 119, 119), RGB(144, 144, 144), kButtonFace,        RGB(135, 136, 136), RGB(117, 117, 117),
    RGB(117, 117, 117), RGB(136, 136, 136), kButtonFace,        RGB(134, 134, 134), RGB(117, 117, 117),
    RGB(117, 117, 117), RGB(136, 136, 136), RGB(117, 117, 117), RGB(134, 134, 134), kButtonFace};
constexpr COLORREF kInnerFrame = RGB(252, 252, 252);
constexpr InnerCornerColours kInnerCorners{
    RGB(145, 145, 145), RGB(232, 232, 232), RGB(234, 234, 234), RGB(250, 250, 250),
    RGB(232, 232, 232), RGB(145, 145, 145), RGB(250, 250, 250), RGB(234, 234, 234),
    RGB(226, 226, 226), RGB(236, 236, 236), RGB(143, 143, 143), RGB(228, 228, 228),
    RGB(236, 236, 236), RGB(226, 226, 226), RGB(228, 228, 228), RGB(143, 143, 143)};
constexpr COLORREF kText = RGB(0, 0, 0);
constexpr FlatFace kHighContrast{COLOR_BTNFACE, COLOR_WINDOWFRAME, 1, COLOR_BTNTEXT};
}  // namespace

void DrawNormalFace(HDC dc, RECT& item, const wchar_t* caption) {
    FacePainter paint(dc, item);
    if (forms::HighContrast())
        return paint.Flat(kHighContrast, caption);
    paint.Bands(kSteps, kBands);
    paint.Frame(paint.Box(FromStart(0), FromStart(0), FromEnd(0), FromEnd(0)), kOuterFrame);
    paint.OuterCorners(kOuterCorners);
    paint.Frame(paint.Box(FromStart(1), FromStart(1), FromEnd(1), FromEnd(1)), kInnerFrame);
    paint.InnerCorners(kInnerCorners);
    paint.Caption(paint.Box(FromStart(0), FromStart(0), FromEnd(0), FromEnd(0)), kText, caption);
}

}  // namespace mVistaButton
