// The face of a disabled button: flat and pale, with a grey caption. Unlike
// the other faces its surface and outer frame cover the item rectangle where
// it lies; the corners and the inner frame are drawn from (0, 0).
#include "button_skin/face_painter.h"
#include "button_skin/mVistaButton.h"
#include "forms_runtime/high_contrast.h"

namespace mVistaButton {

namespace {
using namespace face;

constexpr COLORREF kSurface = RGB(244, 244, 244);
constexpr COLORREF kOuterFrame = RGB(173, 178, 181);
constexpr OuterCornerColours kOuterCorners{
    kButtonFace,        RGB(183, 197, 190), RGB(175, 180, 183), RGB(177, 181, 174), RGB(174, 179, 182),
    RGB(175, 180, 183), RGB(183, 197, 190), kButtonFace,        RGB(177, 181, 174), RGB(174, 179, 182),
    RGB(174, 179, 182), RGB(177, 181, 174), kButtonFace,        RGB(183, 197, 190), RGB(175, 180, 183),
    RGB(174, 179, 182), RGB(177, 181, 174), RGB(175, 180, 183), RGB(183, 197, 190), kButtonFace};
constexpr COLORREF kInnerFrame = RGB(252, 252, 252);
constexpr InnerCornerColours kInnerCorners{
    RGB(192, 195, 198), RGB(241, 242, 242), RGB(242, 242, 243), RGB(251, 251, 251),
    RGB(241, 242, 242), RGB(192, 195, 198), RGB(251, 251, 251), RGB(242, 242, 243),
    RGB(242, 242, 243), RGB(251, 251, 251), RGB(192, 195, 198), RGB(243, 243, 244),
    RGB(251, 251, 251), RGB(242, 242, 243), RGB(243, 243, 244), RGB(192, 195, 198)};
constexpr COLORREF kText = RGB(131, 131, 131);
constexpr FlatFace kHighContrast{COLOR_BTNFACE, COLOR_WINDOWFRAME, 1, COLOR_GRAYTEXT};
}  // namespace

void DrawDisabledFace(HDC dc, RECT& item, const wchar_t* caption) {
    FacePainter paint(dc, item);
    if (forms::HighContrast())
        return paint.Flat(kHighContrast, caption);
    paint.Fill(paint.Received(), kSurface);
    paint.Frame(paint.Received(), kOuterFrame);
    paint.OuterCorners(kOuterCorners);
    paint.Frame(paint.Box(FromStart(1), FromStart(1), FromEnd(1), FromEnd(1)), kInnerFrame);
    paint.InnerCorners(kInnerCorners);
    paint.Caption(paint.Box(FromStart(0), FromStart(0), FromEnd(0), FromEnd(0)), kText, caption);
}

}  // namespace mVistaButton
