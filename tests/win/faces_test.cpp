// The faces as Windows asks for them, by DrawButton for an owner-drawn button, on a memory DC: pixel by pixel against
// the pictures worked out by hand, and what painting leaves behind in GDI and in the DC.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <iterator>
#include <string>
#include <tuple>

#include "button_skin/mVistaButton.h"
#include "forms_runtime/high_contrast.h"
#include "forms_runtime/scoped_gdi.h"
#include "test_support/gdi_headroom.h"
#include "test_support/picture.h"
#include "tests/win/face_rows.h"

namespace {

using face_rows::Face;
using test_support::Picture;
constexpr int kW = face_rows::kWidth, kH = face_rows::kHeight;          // the window's buttons
constexpr COLORREF kUntouched = RGB(255, 0, 255);                       // a colour no face uses
constexpr UINT kStates[] = {0, ODS_SELECTED, ODS_FOCUS, ODS_DISABLED};  // a state that shows each face

// The runtime's high-contrast setting read as on (or off) while it lives, then the system's again.
struct HighContrast {
    explicit HighContrast(bool on) {
        forms::SetHighContrastSource(on ? +[] { return true; } : +[] { return false; });
        forms::ReadHighContrast();
    }
    ~HighContrast() {
        forms::SetHighContrastSource(nullptr);
        forms::ReadHighContrast();
    }
    HighContrast(const HighContrast&) = delete;
    HighContrast& operator=(const HighContrast&) = delete;
};

// Painted by DrawButton for a button of this caption, in this state.
void Paint(const Picture& on, UINT state, int width = kW, int height = kH, const wchar_t* caption = L"") {
    HWND button =
        CreateWindowW(L"BUTTON", caption, BS_OWNERDRAW, 0, 0, width, height, nullptr, nullptr, nullptr, nullptr);
    RECT item{0, 0, width, height};
    mVistaButton::DrawButton(button, on.Dc(), item, state);
    DestroyWindow(button);
}

// The face the state's bits choose: disabled over pressed over focused; no other bit counts. Drawn over the window's
// 83 x 25 buttons, and not on the row and column beyond them.
TEST(Faces, AreChosenByTheStateAsWorkedOutByHand) {
    constexpr UINT kUnread = ~UINT{ODS_DISABLED | ODS_SELECTED | ODS_FOCUS};
    const std::pair<UINT, Face> states[] = {
        {0, face_rows::kNormal},
        {kUnread, face_rows::kNormal},
        {ODS_FOCUS, face_rows::kFocused},
        {ODS_FOCUS | kUnread, face_rows::kFocused},
        {ODS_SELECTED, face_rows::kPressed},
        {ODS_SELECTED | ODS_FOCUS | kUnread, face_rows::kPressed},
        {ODS_DISABLED, face_rows::kDisabled},
        {ODS_DISABLED | ODS_FOCUS, face_rows::kDisabled},
        {ODS_DISABLED | ODS_SELECTED, face_rows::kDisabled},
        {ODS_DISABLED | ODS_SELECTED | ODS_FOCUS | kUnread, face_rows::kDisabled},
    };
    for (const auto& [state, face] : states) {
        const Picture painted(kW + 1, kH + 1, kUntouched);
        Paint(painted, state);
        const auto expected = [face = face](int x, int y) {
            return x == kW || y == kH ? kUntouched : face_rows::Expected(face, x, y);
        };
        EXPECT_EQ(face_rows::FirstWrongPixel(painted, expected), "") << "state 0x" << std::hex << state;
    }
}

// Under a high-contrast theme, each face flat in the system's colours, from its edge in: a window-frame outline round
// the button face, round the highlight when pressed; two rings of the highlight round the button face when focused.
TEST(Faces, AreFlatInTheSystemsColoursUnderHighContrast) {
    const HighContrast on(true);
    const std::pair<Face, std::array<int, 3>> rings[] = {
        {face_rows::kNormal, {COLOR_WINDOWFRAME, COLOR_BTNFACE, COLOR_BTNFACE}},
        {face_rows::kPressed, {COLOR_WINDOWFRAME, COLOR_HIGHLIGHT, COLOR_HIGHLIGHT}},
        {face_rows::kFocused, {COLOR_HIGHLIGHT, COLOR_HIGHLIGHT, COLOR_BTNFACE}},
        {face_rows::kDisabled, {COLOR_WINDOWFRAME, COLOR_BTNFACE, COLOR_BTNFACE}},
    };
    for (const auto& [face, outward] : rings) {
        const Picture painted(kW + 1, kH + 1, kUntouched);
        Paint(painted, kStates[face]);
        const auto expected = [colours = outward](int x, int y) {
            const int ring = std::min({x, y, kW - 1 - x, kH - 1 - y, 2});
            return x == kW || y == kH ? kUntouched : GetSysColor(colours[static_cast<size_t>(ring)]);
        };
        EXPECT_EQ(face_rows::FirstWrongPixel(painted, expected), "") << face_rows::kFaceNames[face];
    }
}

// The button's caption glyph for glyph where DrawText centres it on one line in the whole button, in black, or grey on
// the disabled face, or under a high-contrast theme in the system's text colour, of the highlight when pressed, grey
// when disabled; at the window's 25 pixels and at 38, its buttons' height at 144 DPI. Any font with glyphs for 计算
// will do; unsmoothed, so that a glyph's pixels are the text colour.
TEST(Faces, CentreTheirCaptionInItsColour) {
    constexpr int kHighContrastText[] = {COLOR_BTNTEXT, COLOR_HIGHLIGHTTEXT, COLOR_BTNTEXT, COLOR_GRAYTEXT};
    const forms::OwnedFont font(
        CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0, L"宋体"));
    for (const int height : {kH, 38}) {
        const Picture caption(kW, height, kUntouched);
        const forms::ScopedSelect captionFont(caption.Dc(), font.get());
        SetBkMode(caption.Dc(), TRANSPARENT);  // as DrawButton hands the DC to a face
        RECT item{0, 0, kW, height};
        DrawTextW(caption.Dc(), L"计算", -1, &item, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        int inked = 0;
        for (int i = 0; i < kW * height; ++i)
            inked += caption(i % kW, i / kW) != kUntouched;
        ASSERT_GT(inked, 30) << "the caption's glyphs";
        for (const int face : {0, 1, 2, 3, 4, 5, 6, 7}) {
            const HighContrast highContrast(face >= 4);
            SCOPED_TRACE(std::string(face_rows::kFaceNames[face % 4]) + " face, H = " + std::to_string(height) +
                         (face >= 4 ? ", high contrast" : ""));
            const Picture bare(kW, height, kUntouched), captioned(kW, height, kUntouched);
            const forms::ScopedSelect captionedFont(captioned.Dc(), font.get());
            Paint(bare, kStates[face % 4], kW, height);
            Paint(captioned, kStates[face % 4], kW, height, L"计算");
            const COLORREF text = face < 4 ? (face == face_rows::kDisabled ? RGB(131, 131, 131) : RGB(0, 0, 0))
                                           : GetSysColor(kHighContrastText[face % 4]);
            const auto expected = [&](int x, int y) {
                return caption(x, y) != kUntouched ? text : bare(x, y);
            };
            EXPECT_EQ(face_rows::FirstWrongPixel(captioned, expected), "");
        }
    }
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
        const Picture painted(40, height, kUntouched);
        Paint(painted, kStates[face], 40, height);
        const auto& colours = face_rows::kPictures[face].band;
        std::string shown;
        for (int y = 2; y < 2 + static_cast<int>(bands.size()); ++y) {
            const auto band = std::find(std::begin(colours), std::end(colours), painted(20, y));
            shown += band == std::end(colours) ? '?' : static_cast<char>('1' + (band - std::begin(colours)));
        }
        EXPECT_EQ(shown, bands) << face_rows::kFaceNames[face] << " face, H = " << height;
    }
}

// Painted as Windows asks, by DrawButton, in every state: no GDI object is left, and the DC is handed back as it came,
// whatever a face set in it.
TEST(Faces, LeaveNothingBehind) {
    const Picture painted(kW, kH, kUntouched);
    HDC dc = painted.Dc();
    HWND button = CreateWindowW(L"BUTTON", L"计算", BS_OWNERDRAW, 0, 0, kW, kH, nullptr, nullptr, nullptr, nullptr);
    const forms::ScopedSelect brush(dc, GetStockObject(GRAY_BRUSH)), pen(dc, GetStockObject(WHITE_PEN));
    const forms::ScopedSelect font(dc, GetStockObject(ANSI_FIXED_FONT));
    SetTextColor(dc, RGB(1, 2, 3));
    const auto state = [dc] {
        return std::tuple{GetCurrentObject(dc, OBJ_BRUSH), GetCurrentObject(dc, OBJ_PEN),
                          GetCurrentObject(dc, OBJ_FONT), GetBkMode(dc), GetTextColor(dc)};
    };
    const auto before = state();
    const int headroom = test_support::GdiHeadroom();
    for (int paint = 0; paint < 400; ++paint) {
        RECT item{0, 0, kW, kH};
        mVistaButton::DrawButton(button, dc, item, kStates[paint % 4]);
    }
    EXPECT_EQ(test_support::GdiHeadroom(), headroom);
    EXPECT_EQ(state(), before) << "brush, pen, font, mode and text colour";
    DestroyWindow(button);
}

}  // namespace
