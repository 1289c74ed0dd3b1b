// Painting must not leak GDI objects. Wine has no working GetGuiResources, so
// the test counts how many brushes the process can still make: Wine refuses
// new objects at about 65,000 live ones, fewer than the 70,000 paints per face
// below, so one object lost per paint would use the headroom up.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <vector>

#include <gtest/gtest.h>

#include "tests/win/face_model.h"

namespace skin_test {
namespace {

constexpr int kPaints = 70000;
constexpr std::size_t kCeiling = 200000;

std::size_t BrushHeadroom() {
    std::vector<HBRUSH> made;
    made.reserve(kCeiling);
    while (made.size() < kCeiling) {
        const HBRUSH brush = CreateSolidBrush(RGB(made.size() & 0xFF, 1, 2));
        if (!brush) break;
        made.push_back(brush);
    }
    for (HBRUSH brush : made) DeleteObject(brush);
    return made.size();
}

TEST(SkinLeaks, SeventyThousandPaintsOfEachFaceLeaveTheGdiHeadroomAsItWas) {
    const auto start = std::chrono::steady_clock::now();
    Canvas canvas(100, 40, 4);
    SetBkMode(canvas.Dc(), TRANSPARENT);
    // Whatever GDI makes once, for the first text drawn, is made before counting.
    for (Kind kind : kAllKinds) {
        RECT item{0, 0, 83, 25};
        DrawFace(kind, canvas.Dc(), item, L"W");
    }
    const std::size_t before = BrushHeadroom();
    ASSERT_LT(before, static_cast<std::size_t>(kPaints)) << "no limit on GDI objects: the test proves nothing";

    for (Kind kind : kAllKinds) {
        for (int i = 0; i < kPaints; ++i) {
            RECT item{0, 0, 83, 25};
            DrawFace(kind, canvas.Dc(), item, L"W");
        }
    }
    const std::size_t after = BrushHeadroom();
    std::printf("brush headroom before %zu, after %zu paints of each face: %zu (%.1f s)\n", before,
                static_cast<std::size_t>(kPaints), after,
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    EXPECT_EQ(after, before);

    for (Kind kind : kAllKinds) {
        SCOPED_TRACE(Name(kind));
        canvas.Clear();
        RECT item{0, 0, 83, 25};
        DrawFace(kind, canvas.Dc(), item, L"");
        EXPECT_TRUE(SamePicture(canvas.Pixels(), ExpectFace(kind, RECT{0, 0, 83, 25}, canvas).picture));
    }
}

}  // namespace
}  // namespace skin_test
