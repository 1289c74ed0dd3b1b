// The faces on a memory DC, pixel by pixel against the pictures worked out by hand, and what painting leaves
// behind in GDI and in the DC.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "button_skin/mVistaButton.h"
#include "test_support/gdi_headroom.h"
#include "tests/win/face_rows.h"

namespace {

using face_rows::Face;
constexpr int kW = face_rows::kWidth, kH = face_rows::kHeight;  // the window's buttons
constexpr COLORREF kUntouched = RGB(255, 0, 255);               // a colour no face uses
constexpr Face kFaces[] = {face_rows::kNormal, face_rows::kPressed, face_rows::kFocused, face_rows::kDisabled};
constexpr void (*kDraw[])(HDC, RECT&, const wchar_t*) = {mVistaButton::DrawNormalFace, mVistaButton::DrawPressedFace,
                                                         mVistaButton::DrawFocusedFace, mVistaButton::DrawDisabledFace};

// A 120 x 40 memory DC, one for the whole run, in the colour no face uses.
HDC BlankDc() {
    static const HDC dc = CreateCompatibleDC(nullptr);
    static const HGDIOBJ kept [[maybe_unused]] = SelectObject(dc, CreateBitmap(120, 40, 1, 32, nullptr));
    RECT all{0, 0, 120, 40};
    SetDCBrushColor(dc, kUntouched);
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    return dc;
}

HDC Paint(Face face, int width, int height, const wchar_t* caption = L"") {
    HDC dc = BlankDc();
    RECT item{0, 0, width, height};
    kDraw[face](dc, item, caption);
    return dc;
}

std::vector<COLORREF> Pixels(HDC dc) {  // of a kW x kH picture
    std::vector<COLORREF> pixels;
    pixels.reserve(std::size_t{kW} * kH);
    for (int i = 0; i < kW * kH; ++i)
        pixels.push_back(GetPixel(dc, i % kW, i / kW));
    return pixels;
}

std::string FirstWrongPixel(HDC dc, int width, int height, auto&& expected) {
    return face_rows::FirstWrongPixel(
        width, height, [dc](int x, int y) { return GetPixel(dc, x, y); }, expected);
}

// The window's 83 x 25 buttons, and the row and column beyond them, which no face touches.
TEST(Faces, AreThePicturesWorkedOutByHand) {
    for (const Face face : kFaces) {
        const auto expected = [face](int x, int y) {
            return x == kW || y == kH ? kUntouched : face_rows::Expected(face, x, y);
        };
        EXPECT_EQ(FirstWrongPixel(Paint(face, kW, kH), kW + 1, kH + 1, expected), "") << face_rows::kFaceNames[face];
    }
}

// The caption glyph for glyph where DrawText centres it on one line in the whole button, in black, or grey on the
// disabled face. Any font with glyphs for 计算 will do; unsmoothed, so that a glyph's pixels are the text colour.
TEST(Faces, CentreTheirCaptionInItsColour) {
    HDC dc = BlankDc();
    HGDIOBJ old = SelectObject(
        dc, CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0, L"宋体"));
    SetBkMode(dc, TRANSPARENT);  // as DrawButton hands the DC to a face
    RECT item{0, 0, kW, kH};
    DrawTextW(dc, L"计算", -1, &item, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    const std::vector<COLORREF> caption = Pixels(dc);
    ASSERT_LT(std::count(caption.begin(), caption.end(), kUntouched), kW * kH - 30) << "the caption's glyphs";
    for (const Face face : kFaces) {
        SCOPED_TRACE(face_rows::kFaceNames[face]);
        const std::vector<COLORREF> bare = Pixels(Paint(face, kW, kH));
        const COLORREF text = face == face_rows::kDisabled ? RGB(131, 131, 131) : RGB(0, 0, 0);
        const auto expected = [&](int x, int y) {
            return caption[y * kW + x] != kUntouched ? text : bare[y * kW + x];
        };
        EXPECT_EQ(FirstWrongPixel(Paint(face, kW, kH, L"计算"), kW, kH, expected), "");
    }
    DeleteObject(SelectObject(dc, old));
}

// The band height is (H - 1) / 6 rounded down; band 6 takes what is left. Row by row from row 2 down, the band
// (1 to 6) whose colour shows in the middle column.
TEST(Faces, LayTheirBandsOnTheRowsWorkedOutByHand) {
    const std::tuple<Face, int, std::string> cases[] = {
        {face_rows::kNormal, 23, "1222333444555666666"},
        {face_rows::kNormal, 30, "11222233334444555566666666"},
        {face_rows::kPressed, 23, "1112222233334445556"},
        {face_rows::kPressed, 30, "11112222223333344445555666"},
    };
    for (const auto& [face, height, bands] : cases) {
        HDC dc = Paint(face, 40, height);
        const auto& colours = face_rows::kPictures[face].band;
        std::string shown;
        for (int y = 2; y < 2 + static_cast<int>(bands.size()); ++y) {
            const auto band = std::find(std::begin(colours), std::end(colours), GetPixel(dc, 20, y));
            shown += band == std::end(colours) ? '?' : static_cast<char>('1' + (band - std::begin(colours)));
        }
        EXPECT_EQ(shown, bands) << face_rows::kFaceNames[face] << " face, H = " << height;
    }
}

TEST(Faces, FreeEveryObjectTheyCreate) {
    const int before = test_support::GdiHeadroom();
    for (int paint = 0; paint < 400; ++paint)
        Paint(Face(paint % 4), 83, 25, L"计算");
    EXPECT_EQ(test_support::GdiHeadroom(), before);
}

// Each face selects back the brush and pen it found; DrawButton hands the DC back to Windows as it came, whatever the
// face set: its mode, text colour and font too.
TEST(Faces, HandTheDcBackAsItCame) {
    HDC dc = BlankDc();
    HWND button = CreateWindowW(L"BUTTON", L"计算", BS_OWNERDRAW, 0, 0, kW, kH, nullptr, nullptr, nullptr, nullptr);
    SelectObject(dc, GetStockObject(GRAY_BRUSH));
    SelectObject(dc, GetStockObject(WHITE_PEN));
    HGDIOBJ font = SelectObject(dc, GetStockObject(ANSI_FIXED_FONT));
    for (const Face face : kFaces) {
        SCOPED_TRACE(face_rows::kFaceNames[face]);
        SetBkMode(dc, OPAQUE);
        SetTextColor(dc, RGB(1, 2, 3));
        RECT item{0, 0, kW, kH};
        mVistaButton::DrawButton(button, dc, item, std::array{0, ODS_SELECTED, ODS_FOCUS, ODS_DISABLED}[face]);
        EXPECT_EQ(GetBkMode(dc), OPAQUE);
        EXPECT_EQ(GetTextColor(dc), RGB(1, 2, 3));
        EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), GetStockObject(ANSI_FIXED_FONT));
        Paint(face, kW, kH, L"计算");
        EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), GetStockObject(GRAY_BRUSH));
        EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), GetStockObject(WHITE_PEN));
    }
    SelectObject(dc, font);
    DestroyWindow(button);
}

}  // namespace
