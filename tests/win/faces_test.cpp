// The faces on a memory DC, pixel by pixel against the pictures worked out by hand, and what painting leaves behind in GDI.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "button_skin/mVistaButton.h"
#include "test_support/gdi_headroom.h"
#include "tests/win/face_rows.h"

namespace {

using face_rows::Face;
constexpr COLORREF kUntouched = RGB(255, 0, 255);
constexpr void (*kDraw[])(HDC, RECT&, const wchar_t*) = {mVistaButton::DrawNormalFace, mVistaButton::DrawPressedFace, mVistaButton::DrawFocusedFace, mVistaButton::DrawDisabledFace};

// A face on a memory DC (one for the whole run) filled with a colour no face uses.
HDC Paint(Face face, int width, int height, const wchar_t* caption = L"") {
    static const HDC dc = CreateCompatibleDC(nullptr);
    static const HGDIOBJ kept [[maybe_unused]] = SelectObject(dc, CreateBitmap(120, 40, 1, 32, nullptr));
    RECT item{0, 0, 120, 40};
    SetDCBrushColor(dc, kUntouched);
    FillRect(dc, &item, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    item = RECT{0, 0, width, height};
    kDraw[face](dc, item, caption);
    return dc;
}

// Each face of the window's 83 x 25 buttons is the hand-worked picture, its caption glyph for glyph where DrawText
// centres it on one line in the whole button, in black, or grey when disabled. Any font with glyphs for 计算 will do;
// unsmoothed, so that a glyph's pixels are the text colour itself.
TEST(Faces, EachFaceIsTheHandWorkedPictureWithItsCaptionCentredInItsColour) {
    constexpr int kW = face_rows::kWidth, kH = face_rows::kHeight;
    HDC dc = Paint(face_rows::kNormal, 0, 0);  // nothing painted: the caption alone, drawn as the faces must draw it
    HGDIOBJ old = SelectObject(dc, CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0, L"宋体"));
    SetBkMode(dc, TRANSPARENT);  // as DrawButton hands the DC to a face
    RECT item{0, 0, kW, kH};
    DrawTextW(dc, L"计算", -1, &item, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    std::vector<bool> glyph(std::size_t{kW} * kH);
    for (int i = 0; i < kW * kH; ++i) glyph[i] = GetPixel(dc, i % kW, i / kW) == 0;
    EXPECT_GT(std::count(glyph.begin(), glyph.end(), true), 30);
    for (const Face face : {face_rows::kNormal, face_rows::kPressed, face_rows::kFocused, face_rows::kDisabled}) {
        Paint(face, kW, kH, L"计算");
        int wrong = 0;
        for (int i = 0; i < kW * kH; ++i) {
            wrong += GetPixel(dc, i % kW, i / kW) != (glyph[i] ? (face == face_rows::kDisabled ? RGB(131, 131, 131) : 0) : face_rows::Expected(face, i % kW, i / kW));
        }
        EXPECT_EQ(wrong, 0) << "face " << face;
        EXPECT_EQ(GetPixel(dc, kW, 3), kUntouched);  // nothing beyond the face
        EXPECT_EQ(GetPixel(dc, 3, kH), kUntouched);
    }
    DeleteObject(SelectObject(dc, old));
}

TEST(Faces, BandsLieOnTheRowsWorkedOutByHand) {
    const struct { Face face; int height; int firstRows[6]; int lastRowOfBand6; } cases[] = {
        {face_rows::kNormal, 23, {2, 3, 6, 9, 12, 15}, 20},   {face_rows::kNormal, 30, {2, 4, 8, 12, 16, 20}, 27},
        {face_rows::kPressed, 23, {2, 5, 10, 14, 17, 20}, 20}, {face_rows::kPressed, 30, {2, 6, 12, 17, 21, 25}, 27}};
    for (const auto& c : cases) {
        HDC dc = Paint(c.face, 40, c.height);
        for (int band = 0; band < 6; ++band) {
            const int last = band == 5 ? c.lastRowOfBand6 : c.firstRows[band + 1] - 1;
            for (int y = c.firstRows[band]; y <= last; ++y) {
                EXPECT_EQ(GetPixel(dc, 20, y), face_rows::kPictures[c.face].band[band]) << "face " << c.face << ", H = " << c.height << ", row " << y;
            }
        }
    }
}

TEST(Faces, PaintsFreeEveryBrushAndPenAndLeaveTheDcAsFound) {
    HDC dc = Paint(face_rows::kNormal, 1, 1);
    SelectObject(dc, GetStockObject(GRAY_BRUSH));  // the DC is this test's alone from here on
    SelectObject(dc, GetStockObject(WHITE_PEN));
    const int before = test_support::GdiHeadroom();
    for (int paint = 0; paint < 4000; ++paint) Paint(Face(paint % 4), 83, 25, L"计算");
    EXPECT_EQ(test_support::GdiHeadroom(), before);
    EXPECT_TRUE(GetCurrentObject(dc, OBJ_BRUSH) == GetStockObject(GRAY_BRUSH) && GetCurrentObject(dc, OBJ_PEN) == GetStockObject(WHITE_PEN));
    // Painted for a button, the DC goes back as it came: mode, text colour, font, brush and pen.
    HWND button = CreateWindowW(L"BUTTON", L"计算", BS_OWNERDRAW, 0, 0, 83, 25, nullptr, nullptr, nullptr, nullptr);
    SetBkMode(dc, OPAQUE);
    SetTextColor(dc, RGB(1, 2, 3));
    SelectObject(dc, GetStockObject(ANSI_FIXED_FONT));
    for (const UINT state : {0, ODS_SELECTED, ODS_FOCUS, ODS_DISABLED}) {
        RECT item{0, 0, 83, 25};
        mVistaButton::DrawButton(button, dc, item, state);
    }
    EXPECT_TRUE(GetBkMode(dc) == OPAQUE && GetTextColor(dc) == RGB(1, 2, 3) && GetCurrentObject(dc, OBJ_FONT) == GetStockObject(ANSI_FIXED_FONT) &&
                GetCurrentObject(dc, OBJ_BRUSH) == GetStockObject(GRAY_BRUSH) && GetCurrentObject(dc, OBJ_PEN) == GetStockObject(WHITE_PEN));
    DestroyWindow(button);
}

}  // namespace
