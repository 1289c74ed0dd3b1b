// The faces on a memory DC, pixel by pixel against the pictures worked out
// by hand, and what painting leaves behind in GDI.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

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

// The caption, centred on one line in the font the DC holds, glyph for glyph where DrawText
// puts it in the whole button, in black, or grey when disabled. Any font with glyphs for 计算
// will do; unsmoothed, so that a glyph's pixels are the text colour itself.
TEST(Faces, TheCaptionIsCentredInTheFacesTextColour) {
    HFONT font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0, L"宋体");
    HGDIOBJ old = SelectObject(Paint(face_rows::kNormal, 1, 1), font);
    HDC dc = Paint(face_rows::kNormal, 0, 0);  // nothing painted: the reference, drawn as the faces must draw it
    SetBkMode(dc, TRANSPARENT);  // as DrawButton hands the DC to a face
    RECT item{0, 0, face_rows::kWidth, face_rows::kHeight};
    DrawTextW(dc, L"计算", -1, &item, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    std::vector<bool> glyph;
    for (int i = 0; i < face_rows::kWidth * face_rows::kHeight; ++i) glyph.push_back(GetPixel(dc, i % face_rows::kWidth, i / face_rows::kWidth) == 0);
    for (const Face face : {face_rows::kNormal, face_rows::kPressed, face_rows::kFocused, face_rows::kDisabled}) {
        Paint(face, face_rows::kWidth, face_rows::kHeight, L"计算");
        int wrong = 0, glyphs = 0;
        for (int i = 0; i < face_rows::kWidth * face_rows::kHeight; ++i) {
            const int x = i % face_rows::kWidth, y = i / face_rows::kWidth;
            glyphs += glyph[i];
            wrong += GetPixel(dc, x, y) != (glyph[i] ? (face == face_rows::kDisabled ? RGB(131, 131, 131) : 0) : face_rows::Expected(face, x, y));
        }
        EXPECT_EQ(wrong, 0) << "face " << face;
        EXPECT_GT(glyphs, 30);
    }
    DeleteObject(SelectObject(dc, old));
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
    // Painted for a button, the DC goes back as it came: mode, text colour, font, brush and pen.
    HWND button = CreateWindowW(L"BUTTON", L"计算", BS_OWNERDRAW, 0, 0, 83, 25, nullptr, nullptr, nullptr, nullptr);
    SetBkMode(dc, OPAQUE);
    SetTextColor(dc, RGB(1, 2, 3));
    HGDIOBJ font = SelectObject(dc, GetStockObject(ANSI_FIXED_FONT));
    for (const UINT state : {0u, 0u + ODS_SELECTED, 0u + ODS_FOCUS, 0u + ODS_DISABLED}) {
        RECT item{0, 0, 83, 25};
        mVistaButton::DrawButton(button, dc, item, state);
    }
    EXPECT_EQ((std::vector<std::uintptr_t>{static_cast<std::uintptr_t>(GetBkMode(dc)), GetTextColor(dc),
                                            reinterpret_cast<std::uintptr_t>(GetCurrentObject(dc, OBJ_FONT)),
                                            reinterpret_cast<std::uintptr_t>(GetCurrentObject(dc, OBJ_BRUSH))}),
              (std::vector<std::uintptr_t>{OPAQUE, RGB(1, 2, 3), reinterpret_cast<std::uintptr_t>(GetStockObject(ANSI_FIXED_FONT)),
                                            reinterpret_cast<std::uintptr_t>(GetStockObject(GRAY_BRUSH))}));
    DestroyWindow(button);
    SelectObject(dc, font);
    SelectObject(dc, brush);
    SelectObject(dc, pen);
}

}  // namespace
