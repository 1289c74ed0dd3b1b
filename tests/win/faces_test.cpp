// The faces on a memory DC, pixel by pixel against the pictures worked out
// by hand, and what painting leaves behind in GDI.
#include <gtest/gtest.h>

#include "button_skin/mVistaButton.h"
#include "tests/win/face_rows.h"

namespace {

using face_rows::Face;
constexpr COLORREF kUntouched = RGB(255, 0, 255);
constexpr void (*kDraw[])(HDC, RECT&, const wchar_t*) = {
    mVistaButton::DrawNormalFace, mVistaButton::DrawPressedFace, mVistaButton::DrawFocusedFace,
    mVistaButton::DrawDisabledFace};

// A face on a memory DC (one for the whole run) filled with a colour no face uses.
HDC Paint(Face face, int width, int height, const wchar_t* caption = L"") {
    static const HDC dc = CreateCompatibleDC(nullptr);
    static const HGDIOBJ kept [[maybe_unused]] = SelectObject(dc, CreateBitmap(120, 40, 1, 32, nullptr));
    const RECT all{0, 0, 120, 40};
    HBRUSH brush = CreateSolidBrush(kUntouched);
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    RECT item{0, 0, width, height};
    kDraw[face](dc, item, caption);
    return dc;
}

TEST(Faces, EachFaceOfTheWindowsButtonsIsTheHandWorkedPicture) {
    for (const Face face : {face_rows::kNormal, face_rows::kPressed, face_rows::kFocused, face_rows::kDisabled}) {
        HDC dc = Paint(face, face_rows::kWidth, face_rows::kHeight, L"计算");
        EXPECT_EQ(face_rows::Mismatches(face, [dc](int x, int y) { return GetPixel(dc, x, y); }), 0) << "face " << face;
        EXPECT_EQ(GetPixel(dc, face_rows::kWidth, 3), kUntouched);  // nothing beyond the face
        EXPECT_EQ(GetPixel(dc, 3, face_rows::kHeight), kUntouched);
    }
}

TEST(Faces, BandsLieOnTheRowsWorkedOutByHand) {
    const struct { Face face; int height; int firstRows[6]; int lastRowOfBand6; } cases[] = {
        {face_rows::kNormal, 23, {2, 3, 6, 9, 12, 15}, 20},   {face_rows::kNormal, 30, {2, 4, 8, 12, 16, 20}, 27},
        {face_rows::kPressed, 23, {2, 5, 10, 14, 17, 20}, 20}, {face_rows::kPressed, 30, {2, 6, 12, 17, 21, 25}, 27},
    };
    for (const auto& c : cases) {
        HDC dc = Paint(c.face, 40, c.height);
        for (int band = 0; band < 6; ++band) {
            const int last = band == 5 ? c.lastRowOfBand6 : c.firstRows[band + 1] - 1;
            for (int y = c.firstRows[band]; y <= last; ++y) {
                EXPECT_EQ(GetPixel(dc, 20, y), face_rows::kPictures[c.face].band[band])
                    << "face " << c.face << ", H = " << c.height << ", row " << y;
            }
        }
    }
}

TEST(Faces, PaintsFreeEveryBrushAndPenAndLeaveTheDcAsFound) {
    HDC dc = Paint(face_rows::kNormal, 1, 1);
    HGDIOBJ brush = SelectObject(dc, GetStockObject(GRAY_BRUSH));
    HGDIOBJ pen = SelectObject(dc, GetStockObject(WHITE_PEN));
    const int before = face_rows::GdiHeadroom();
    for (int paint = 0; paint < 4000; ++paint) Paint(Face(paint % 4), 83, 25, L"计算");
    EXPECT_EQ(face_rows::GdiHeadroom(), before);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), GetStockObject(GRAY_BRUSH));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), GetStockObject(WHITE_PEN));
    SelectObject(dc, brush);
    SelectObject(dc, pen);
}

}  // namespace
