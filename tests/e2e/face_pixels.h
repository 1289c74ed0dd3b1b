// The faces of the three command buttons as they must appear on the screen:
// at rest, held down, with the focus, and disabled. Shared by the face test
// and the soak, which checks that the faces are still exact after many
// thousand paints.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/e2e/screen.h"

namespace e2e {

enum class Face { Normal, Pressed, Focused, Disabled };

inline const char* FaceName(Face face) {
    switch (face) {
    case Face::Normal: return "normal";
    case Face::Pressed: return "pressed";
    case Face::Focused: return "focused";
    case Face::Disabled: return "disabled";
    }
    return "?";
}

struct PixelExpectation {
    int x, y;
    Rgb colour;
    const char* what;
};

// The pixels each face must show, for a button W x H from its top-left.
inline std::vector<PixelExpectation> ExpectedPixels(Face face, int w, int h) {
    std::vector<PixelExpectation> pixels;
    auto row = [&](int y, int x0, int x1, Rgb colour, const char* what) {
        for (int x = x0; x <= x1; ++x) pixels.push_back({x, y, colour, what});
    };
    auto column = [&](int x, int y0, int y1, Rgb colour, const char* what) {
        for (int y = y0; y <= y1; ++y) pixels.push_back({x, y, colour, what});
    };
    auto at = [&](int x, int y, Rgb colour, const char* what) { pixels.push_back({x, y, colour, what}); };
    // Band rows, checked at the two sides, clear of the caption.
    auto band = [&](int y, Rgb colour) {
        at(3, y, colour, "band");
        at(w - 4, y, colour, "band");
    };
    auto outer = [&](Rgb colour) {
        row(0, 3, w - 4, colour, "outer frame, top");
        column(0, 3, h - 4, colour, "outer frame, left");
    };

    switch (face) {
    case Face::Normal:
        outer({112, 112, 112});
        row(1, 3, w - 4, {252, 252, 252}, "inner frame, top");
        at(0, 0, FromColorRef(GetSysColor(COLOR_BTNFACE)), "corner outside the frame");
        at(1, 0, {144, 144, 144}, "corner");
        at(2, 0, {119, 119, 119}, "corner");
        at(0, 1, {135, 136, 136}, "corner");
        at(1, 1, {145, 145, 145}, "corner");
        at(1, h - 1, {134, 134, 134}, "bottom-left corner");
        band(3, {242, 242, 242});
        band(5, {240, 240, 240});
        band(9, {236, 236, 236});
        band(13, {219, 219, 219});
        band(17, {216, 216, 216});
        band(21, {209, 209, 209});
        break;
    case Face::Pressed:
        outer({44, 98, 139});
        at(1, 0, {57, 89, 113}, "corner");
        row(1, 3, w - 4, {186, 203, 213}, "inner frame, top");
        row(h - 2, 3, w - 4, {104, 178, 218}, "bottom line");
        at(1, h - 2, {47, 100, 138}, "bottom-left corner");
        band(3, {225, 242, 251});
        band(6, {216, 238, 250});
        band(11, {201, 231, 247});
        band(15, {152, 209, 239});
        band(19, {140, 202, 235});
        band(22, {127, 194, 229});
        break;
    case Face::Focused:
        outer({60, 127, 177});
        row(1, 3, w - 4, {64, 215, 252}, "inner frame, top");
        row(2, 3, w - 4, {210, 238, 246}, "innermost frame, top");
        at(1, 1, {58, 147, 194}, "corner");
        band(3, {238, 243, 245});
        band(5, {235, 240, 242});
        band(9, {233, 238, 241});
        band(13, {213, 223, 229});
        band(17, {208, 220, 227});
        band(21, {202, 215, 222});
        break;
    case Face::Disabled:
        outer({173, 178, 181});
        row(1, 3, w - 4, {252, 252, 252}, "inner frame, top");
        at(1, 0, {183, 197, 190}, "corner");
        at(1, 1, {192, 195, 198}, "corner");
        at(2, 2, {251, 251, 251}, "corner");
        column(3, 3, h - 4, {244, 244, 244}, "surface");
        column(w - 4, 3, h - 4, {244, 244, 244}, "surface");
        break;
    }
    return pixels;
}

// What differs from `face` on the screen now, one line per pixel, for a
// button that must be width x height and lies at `screenRect`.
inline std::vector<std::string> FaceMismatches(Face face, const RECT& screenRect, int width, int height) {
    const ScreenShot shot(screenRect);
    std::vector<std::string> wrong;
    if (shot.Width() != width || shot.Height() != height) {
        wrong.push_back("the button is " + std::to_string(shot.Width()) + "x" + std::to_string(shot.Height()));
        return wrong;
    }
    for (const PixelExpectation& e : ExpectedPixels(face, shot.Width(), shot.Height())) {
        const Rgb seen = shot.At(e.x, e.y);
        if (seen == e.colour) continue;
        wrong.push_back(std::string(e.what) + " (" + std::to_string(e.x) + "," + std::to_string(e.y) + ") is " +
                        Describe(seen) + ", expected " + Describe(e.colour));
    }
    // The caption: pixels of the text colour in the middle, far darker than
    // any band. Normal, pressed and focused captions are black, the disabled
    // one grey with nothing near black.
    const Rgb textColour = face == Face::Disabled ? Rgb{131, 131, 131} : Rgb{0, 0, 0};
    int inTextColour = 0, nearBlack = 0;
    for (int y = 4; y < shot.Height() - 4; ++y) {
        for (int x = 5; x < shot.Width() - 5; ++x) {
            const Rgb c = shot.At(x, y);
            if (c == textColour) ++inTextColour;
            if (c.r < 100 && c.g < 100 && c.b < 100) ++nearBlack;
        }
    }
    constexpr int kCaptionPixels = 20;
    if (inTextColour < kCaptionPixels) {
        wrong.push_back("the caption is missing: " + std::to_string(inTextColour) + " pixels of " +
                        Describe(textColour));
    }
    if (face == Face::Disabled && nearBlack > 0) wrong.emplace_back("the disabled caption is drawn near black");
    return wrong;
}

// The first few lines of a mismatch list, for a failure message.
inline std::string FirstMismatches(const std::vector<std::string>& wrong) {
    std::string report;
    for (size_t i = 0; i < wrong.size() && i < 12; ++i) report += "\n  " + wrong[i];
    if (wrong.size() > 12) report += "\n  ... " + std::to_string(wrong.size() - 12) + " more";
    return report;
}

}  // namespace e2e
