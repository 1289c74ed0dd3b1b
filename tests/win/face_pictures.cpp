// Each face painted into a memory bitmap, compared pixel by pixel with the
// picture the tables call for.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "button_skin/face_painter.h"
#include "button_skin/mVistaButton.h"
#include "forms_runtime/runtime_error.h"
#include "tests/win/face_model.h"

namespace skin_test {
namespace {

// Room around the largest face, so that stray paint shows.
constexpr int kOrigin = 6;
Canvas MakeCanvas() { return Canvas(140, 46, kOrigin); }

std::vector<RECT> AllSizes() {
    std::vector<RECT> sizes{{0, 0, 83, 25}, {0, 0, 117, 25},
                            // not at (0, 0): still painted from (0, 0), except where
                            // the disabled face honours the rectangle as received
                            {5, 7, 88, 32}, {-3, -2, 37, 21}};
    for (int h : {1, 2, 3, 4, 5, 6, 16, 19, 22, 23, 24, 30}) sizes.push_back({0, 0, 40, h});
    for (int w : {1, 2, 3, 4, 5, 6}) sizes.push_back({0, 0, w, 25});
    return sizes;
}

std::string Describe(Kind kind, const RECT& r) {
    return std::string(Name(kind)) + " face, item (" + std::to_string(r.left) + ", " +
           std::to_string(r.top) + ", " + std::to_string(r.right) + ", " + std::to_string(r.bottom) + ")";
}

TEST(FacePictures, EveryFaceAtEverySizeIsExactlyTheTablesPicture) {
    Canvas canvas = MakeCanvas();
    for (Kind kind : kAllKinds) {
        for (const RECT& received : AllSizes()) {
            SCOPED_TRACE(Describe(kind, received));
            canvas.Clear();
            const Expected expected = ExpectFace(kind, received, canvas);
            ASSERT_FALSE(expected.overflows);
            RECT item = received;
            DrawFace(kind, canvas.Dc(), item, L"");
            EXPECT_TRUE(SamePicture(canvas.Pixels(), expected.picture));
            EXPECT_TRUE(EqualRect(&item, &expected.itemAtReturn));
        }
    }
}

// Band rows as worked out by hand for a few heights: {first, last} row of
// bands 1 to 6 where they are seen in the middle column ({0, -1}: none).
struct BandRows {
    Kind kind;
    int width, height;
    int rows[6][2];
};

TEST(FacePictures, BandsLieOnTheRowsWorkedOutByHand) {
    const BandRows cases[] = {
        {Kind::Normal, 83, 25, {{2, 3}, {4, 7}, {8, 11}, {12, 15}, {16, 19}, {20, 22}}},
        {Kind::Normal, 40, 23, {{2, 2}, {3, 5}, {6, 8}, {9, 11}, {12, 14}, {15, 20}}},
        {Kind::Normal, 40, 30, {{2, 3}, {4, 7}, {8, 11}, {12, 15}, {16, 19}, {20, 27}}},
        {Kind::Pressed, 83, 25, {{2, 4}, {5, 9}, {10, 13}, {14, 17}, {18, 21}, {22, 22}}},
        {Kind::Pressed, 40, 23, {{2, 4}, {5, 9}, {10, 13}, {14, 16}, {17, 19}, {20, 20}}},
        {Kind::Pressed, 40, 22, {{2, 4}, {5, 9}, {10, 13}, {14, 16}, {17, 19}, {0, -1}}},
        // Row 14 of band 5 lies under the bottom line; band 6 is inverted.
        {Kind::Pressed, 40, 16, {{2, 3}, {4, 7}, {8, 10}, {11, 12}, {13, 13}, {0, -1}}},
        // Rows 2 and 22 belong to the innermost frame.
        {Kind::Focused, 83, 25, {{3, 3}, {4, 7}, {8, 11}, {12, 15}, {16, 19}, {20, 21}}},
    };
    Canvas canvas = MakeCanvas();
    for (const BandRows& c : cases) {
        SCOPED_TRACE(Describe(c.kind, RECT{0, 0, c.width, c.height}));
        canvas.Clear();
        RECT item{0, 0, c.width, c.height};
        DrawFace(c.kind, canvas.Dc(), item, L"");
        const std::vector<Pixel> pixels = canvas.Pixels();
        for (int band = 1; band <= 6; ++band) {
            for (int row = c.rows[band - 1][0]; row <= c.rows[band - 1][1]; ++row) {
                const Pixel seen = pixels[(row + kOrigin) * canvas.Width() + kOrigin + c.width / 2];
                EXPECT_EQ(seen, BandColour(c.kind, band)) << "band " << band << " row " << row;
            }
        }
    }
}

TEST(FacePictures, WhereCornerPixelsMeetTheLaterOneWins) {
    // Three pixels wide, W - 3 is column 0: the top left pixel is set twice.
    Canvas canvas = MakeCanvas();
    RECT item{0, 0, 3, 25};
    DrawFace(Kind::Focused, canvas.Dc(), item, L"");
    EXPECT_EQ(canvas.Pixels()[kOrigin * canvas.Width() + kOrigin], Rgb(86, 143, 186));
}

struct CaptionCase {
    Kind kind;
    const wchar_t* caption;
    int width, height;
};

TEST(FaceCaptions, DrawInsideTheCaptionRectangleInTheFacesTextColour) {
    const wchar_t* const kCalculate = L"\u8ba1\u7b97";
    const CaptionCase cases[] = {
        {Kind::Normal, kCalculate, 83, 25},   {Kind::Normal, L"W", 117, 25},
        {Kind::Pressed, kCalculate, 83, 25},  {Kind::Pressed, L"W", 117, 25},
        {Kind::Focused, kCalculate, 83, 25},  {Kind::Focused, L"W", 117, 25},
        {Kind::Disabled, kCalculate, 83, 25}, {Kind::Disabled, L"W", 117, 25},
        // Lower than the text: the caption rectangle clips it.
        {Kind::Normal, kCalculate, 40, 8},    {Kind::Pressed, kCalculate, 40, 8},
        {Kind::Focused, kCalculate, 40, 8},   {Kind::Disabled, L"W", 40, 8},
    };
    Canvas canvas = MakeCanvas();
    SetBkMode(canvas.Dc(), TRANSPARENT);
    for (const CaptionCase& c : cases) {
        SCOPED_TRACE(Describe(c.kind, RECT{0, 0, c.width, c.height}));
        canvas.Clear();
        const RECT received{0, 0, c.width, c.height};
        const Expected bare = ExpectFace(c.kind, received, canvas);
        RECT item = received;
        DrawFace(c.kind, canvas.Dc(), item, c.caption);
        EXPECT_EQ(FromColorRef(GetTextColor(canvas.Dc())), TextColour(c.kind));

        const bool inset = c.kind == Kind::Pressed || c.kind == Kind::Focused;
        const int top = inset ? 1 : 0, bottom = inset ? c.height - 1 : c.height;
        const std::vector<Pixel> pixels = canvas.Pixels();
        int inTextColour = 0, outside = 0, onEdgeRows = 0;
        for (int y = -kOrigin; y < canvas.Height() - kOrigin; ++y) {
            for (int x = -kOrigin; x < canvas.Width() - kOrigin; ++x) {
                const std::size_t at = (y + kOrigin) * canvas.Width() + x + kOrigin;
                if (pixels[at] == bare.picture.pixels[at]) continue;
                if (x < 0 || x >= c.width || y < top || y >= bottom) ++outside;
                if (pixels[at] == TextColour(c.kind)) ++inTextColour;
                if (y == top || y == bottom - 1) ++onEdgeRows;
            }
        }
        EXPECT_EQ(outside, 0);
        EXPECT_GT(inTextColour, 4);
        if (c.height == 8) {
            EXPECT_GT(onEdgeRows, 0) << "the text should reach the clipped rows";
        }
    }
}

TEST(FaceCaptions, AnAmpersandMarksTheNextCharacterAndTwoShowOne) {
    // "x&&y" shows as x&y: the same as the text x&y drawn as it stands.
    Canvas face = MakeCanvas(), reference = MakeCanvas();
    for (Canvas* c : {&face, &reference}) SetBkMode(c->Dc(), TRANSPARENT);
    RECT item{0, 0, 83, 25};
    DrawFace(Kind::Normal, face.Dc(), item, L"x&&y");
    item = RECT{0, 0, 83, 25};
    DrawFace(Kind::Normal, reference.Dc(), item, L"");
    SetTextColor(reference.Dc(), RGB(0, 0, 0));
    DrawTextW(reference.Dc(), L"x&y", -1, &item, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(face.Pixels(), reference.Pixels());
}

TEST(FaceDcState, TheBrushAndPenSelectedBeforeAreSelectedAfterAndTheDcStillPaints) {
    Canvas canvas = MakeCanvas();
    const HBRUSH brush = CreateSolidBrush(RGB(9, 8, 7));
    const HPEN pen = CreatePen(PS_SOLID, 1, RGB(7, 8, 9));
    const HGDIOBJ oldBrush = SelectObject(canvas.Dc(), brush);
    const HGDIOBJ oldPen = SelectObject(canvas.Dc(), pen);
    for (Kind kind : kAllKinds) {
        SCOPED_TRACE(Name(kind));
        for (int pass = 0; pass < 2; ++pass) {
            canvas.Clear();
            RECT item{5, 7, 88, 32};
            DrawFace(kind, canvas.Dc(), item, L"W");
            EXPECT_EQ(GetCurrentObject(canvas.Dc(), OBJ_BRUSH), brush);
            EXPECT_EQ(GetCurrentObject(canvas.Dc(), OBJ_PEN), pen);
            POINT at{};
            GetCurrentPositionEx(canvas.Dc(), &at);
            if (kind == Kind::Pressed) {  // where the bottom line ended
                EXPECT_EQ(at.x, 81);
                EXPECT_EQ(at.y, 23);
            }
        }
        canvas.Clear();
        RECT item{5, 7, 88, 32};
        DrawFace(kind, canvas.Dc(), item, L"");
        EXPECT_TRUE(SamePicture(canvas.Pixels(), ExpectFace(kind, RECT{5, 7, 88, 32}, canvas).picture));
    }
    SelectObject(canvas.Dc(), oldBrush);
    SelectObject(canvas.Dc(), oldPen);
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_TRUE(DeleteObject(pen));
}

TEST(FaceDcState, TheGuardRestoresAndDeletesWhenAnErrorLeavesItsScope) {
    using mVistaButton::face::ScopedGdiObject;
    Canvas canvas(4, 4, 0);
    const HDC dc = canvas.Dc();
    const struct {
        DWORD type;
        HGDIOBJ before, made;
    } cases[] = {
        {OBJ_BRUSH, CreateSolidBrush(RGB(1, 1, 1)), CreateSolidBrush(RGB(2, 2, 2))},
        {OBJ_PEN, CreatePen(PS_SOLID, 1, RGB(1, 1, 1)), CreatePen(PS_SOLID, 1, RGB(2, 2, 2))},
        {OBJ_BRUSH, CreateSolidBrush(RGB(3, 3, 3)), nullptr},  // creation failed
    };
    for (const auto& c : cases) {
        // Read after the catch below, where the analyzer, which does not follow exceptions, never goes.
        // NOLINTNEXTLINE(clang-analyzer-deadcode.DeadStores)
        const HGDIOBJ original = SelectObject(dc, c.before);
        try {
            ScopedGdiObject guard(dc, c.made);
            EXPECT_EQ(GetCurrentObject(dc, c.type), c.made ? c.made : c.before);
            forms::Raise(forms::ErrorNumber::Overflow);
        } catch (const forms::RuntimeError&) {
        }
        EXPECT_EQ(GetCurrentObject(dc, c.type), c.before);
        if (c.made) {
            EXPECT_EQ(GetObjectType(c.made), 0u) << "not deleted";
        }
        SelectObject(dc, original);
        EXPECT_TRUE(DeleteObject(c.before));
    }
}

}  // namespace
}  // namespace skin_test
