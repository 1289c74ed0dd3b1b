// Rectangles whose coordinates leave the 32-bit range: the face raises
// Overflow where the arithmetic fails, with what it painted so far left on
// the DC.
#include <cfenv>
#include <climits>
#include <string>

#include <gtest/gtest.h>

#include "forms_runtime/runtime_error.h"
#include "tests/win/face_model.h"

namespace skin_test {
namespace {

struct OverflowCase {
    Kind kind;
    RECT item;
    int outerCornersSet;  // counted by hand from the corner table
    const char* where;
};

TEST(FaceOverflow, StopsWithOverflowWherePaintingHadGotTo) {
    const OverflowCase cases[] = {
        // W - 3 fails at the sixth outer corner; the bands, inverted, cover
        // columns 0 to 2 first.
        {Kind::Normal, {0, 0, INT_MIN + 2, 25}, 5, "W - 3"},
        {Kind::Pressed, {0, 0, INT_MIN + 2, 25}, 5, "W - 3"},
        {Kind::Focused, {0, 0, INT_MIN + 2, 25}, 5, "W - 3"},
        {Kind::Disabled, {0, 0, INT_MIN + 2, 25}, 5, "W - 3"},
        // H - 3 fails at the eleventh; the inverted surface covers row 0.
        {Kind::Disabled, {0, 0, 40, INT_MIN + 2}, 10, "H - 3"},
        // H - 4 or W - 2 fails at the first band: nothing painted.
        {Kind::Normal, {0, 0, 40, INT_MIN + 3}, 0, "H - 4"},
        {Kind::Pressed, {0, 0, 40, INT_MIN + 3}, 0, "H - 4"},
        {Kind::Focused, {0, 0, INT_MIN + 1, 25}, 0, "W - 2"},
    };
    Canvas canvas(60, 40, 0);
    const auto check = [&](Kind kind, const RECT& received, int outerCornersSet, const std::string& where) {
        SCOPED_TRACE(std::string(Name(kind)) + " face, overflow at " + where);
        canvas.Clear();
        const Expected expected = ExpectFace(kind, received, canvas);
        ASSERT_TRUE(expected.overflows);
        EXPECT_EQ(expected.outerCornersSet, outerCornersSet);
        RECT item = received;
        try {
            DrawFace(kind, canvas.Dc(), item, L"W");
            ADD_FAILURE() << "no error";
        } catch (const forms::RuntimeError& error) {
            EXPECT_EQ(error.Number(), forms::ErrorNumber::Overflow);
        }
        EXPECT_TRUE(SamePicture(canvas.Pixels(), expected.picture));
        if (outerCornersSet > 0) {
            EXPECT_NE(canvas.Pixels(), Picture(canvas).pixels) << "nothing painted";
        }
    };
    for (const OverflowCase& c : cases) check(c.kind, c.item, c.outerCornersSet, c.where);
    // W or H itself out of range: the face fails before painting anything.
    for (Kind kind : kAllKinds) {
        check(kind, RECT{-1, 0, INT_MAX, 25}, 0, "W");
        check(kind, RECT{0, 1, 40, INT_MIN}, 0, "H");
    }
}

TEST(FaceOverflow, AFloatingPointFaultLeftFromEarlierWorkIsNotTheFaces) {
    Canvas canvas(60, 40, 0);
    for (Kind kind : kAllKinds) {
        SCOPED_TRACE(Name(kind));
        for (int fault : {FE_DIVBYZERO, FE_OVERFLOW, FE_INVALID}) {
            canvas.Clear();
            RECT item{0, 0, 40, 25};
            std::feraiseexcept(fault);
            EXPECT_NO_THROW(DrawFace(kind, canvas.Dc(), item, L""));
            EXPECT_TRUE(SamePicture(canvas.Pixels(), ExpectFace(kind, RECT{0, 0, 40, 25}, canvas).picture));
        }
    }
    std::feclearexcept(FE_ALL_EXCEPT);
}

}  // namespace
}  // namespace skin_test
