// The faces of the three command buttons as they appear on the screen: at
// rest, held down with the mouse, released with the focus, and disabled.
#include <string>
#include <vector>

#include "tests/e2e/face_pixels.h"
#include "tests/e2e/program_test.h"

namespace e2e {
namespace {

struct Button {
    Id id;
    int width, height;
};

class ButtonFaces : public ProgramTest, public ::testing::WithParamInterface<Button> {
protected:
    RECT ScreenRect() const {
        RECT rect{};
        GetWindowRect(Control(GetParam().id), &rect);
        return rect;
    }

    // What differs from `face` on the screen now, one line per pixel.
    std::vector<std::string> Mismatches(Face face) const {
        return FaceMismatches(face, ScreenRect(), GetParam().width, GetParam().height);
    }

    // Waits for the face to be painted, then reports every wrong pixel.
    void ExpectFace(Face face) {
        std::vector<std::string> wrong;
        Wait([&] {
            wrong = Mismatches(face);
            return wrong.empty();
        });
        EXPECT_TRUE(wrong.empty()) << "the " << NameOf(GetParam().id) << " button does not show the " << FaceName(face)
                                   << " face:" << FirstMismatches(wrong);
    }

    // A point of the window where nothing reacts to the mouse.
    POINT Background() const { return ClientPointOf(program_.Window(), 2, 275); }
};

TEST_P(ButtonFaces, AtRestHeldDownFocusedAndDisabled) {
    HWND button = Control(GetParam().id);
    ASSERT_NE(button, nullptr);

    // At rest: the focus in the price box, the mouse elsewhere.
    ASSERT_NO_FATAL_FAILURE(Settle());
    MoveMouse(Background());
    ExpectFace(Face::Normal);

    // Held down with the mouse.
    ASSERT_NO_FATAL_FAILURE(Activate());
    MoveMouse(CentreOf(button));
    MouseDown();
    ASSERT_TRUE(FocusBecomes(GetParam().id));
    ExpectFace(Face::Pressed);

    // Let go away from the button: no click, and the focus stays with it.
    MoveMouse(Background());
    MouseUp();
    ExpectFace(Face::Focused);
    ASSERT_TRUE(FocusBecomes(GetParam().id));
    EXPECT_TRUE(ResultsAre(L"", L""));
    EXPECT_TRUE(NoDialogShown());

    // Disabled from outside, with the focus back in the price box.
    ASSERT_NO_FATAL_FAILURE(Settle());
    ExpectFace(Face::Normal);
    EnableWindow(button, FALSE);
    ExpectFace(Face::Disabled);
    EnableWindow(button, TRUE);
    ExpectFace(Face::Normal);
}

INSTANTIATE_TEST_SUITE_P(EveryCommandButton, ButtonFaces,
                         ::testing::Values(Button{Id::cmdGetZT, 83, 25}, Button{Id::cmdGetDT, 83, 25},
                                           Button{Id::Command1, 117, 25}),
                         [](const ::testing::TestParamInfo<Button>& param) { return e2e::NameOf(param.param.id); });

}  // namespace
}  // namespace e2e
