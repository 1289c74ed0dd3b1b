// The four faces of the window's 83 x 25 buttons, worked out by hand from how each face is drawn: its bands, its
// frames and the corner pixels set over them. A row is three pixels at the left, one colour across the middle (x = 3
// to 79) and three at the right; rows 0-2 and 22-24 are frames and corners, the rows between show the bands.
#pragma once

#include <windows.h>

#include <sstream>
#include <string>

#include "test_support/picture.h"

namespace face_rows {

enum Face { kNormal, kPressed, kFocused, kDisabled };
constexpr const char* kFaceNames[] = {"normal", "pressed", "focused", "disabled"};
constexpr int kWidth = 83, kHeight = 25;
constexpr COLORREF S = 0x01000000;     // the system button-face colour, read when compared
constexpr COLORREF B = 0x02000000;     // the band that covers the row
constexpr COLORREF kAny = 0x03000000;  // a pixel not compared
constexpr COLORREF G(int v) {
    return RGB(v, v, v);
}

struct Row {
    COLORREF left[3], middle, right[3];
};
struct Picture {
    Row rows[7];  // rows 0, 1, 2, then 3 to 21, then 22, 23, 24
    int bandStart[6];
    COLORREF band[6];
};

// clang-format off
inline constexpr Picture kPictures[4] = {
    {{{{S, G(144), G(119)}, G(112), {G(119), G(144), S}},
      {{RGB(135, 136, 136), G(145), G(232)}, G(252), {G(232), G(145), RGB(135, 136, 136)}},
      {{G(117), G(234), G(250)}, B, {G(250), G(234), G(117)}},
      {{G(112), G(252), B}, B, {B, G(252), G(112)}},
      {{G(117), G(226), G(236)}, B, {G(236), G(226), G(117)}},
      {{G(136), G(143), G(228)}, G(252), {G(228), G(143), G(136)}},
      {{S, G(134), G(117)}, G(112), {G(117), G(134), S}}},
     {2, 4, 8, 12, 16, 20}, {G(242), G(240), G(236), G(219), G(216), G(209)}},
    {{{{S, RGB(57, 89, 113), RGB(46, 96, 134)}, RGB(44, 98, 139), {RGB(46, 96, 134), RGB(57, 89, 113), S}},
      {{RGB(51, 86, 113), RGB(58, 104, 138), RGB(134, 157, 171)}, RGB(186, 203, 213), {RGB(149, 171, 184), RGB(58, 104, 138), RGB(51, 86, 113)}},
      {{RGB(44, 95, 134), RGB(134, 157, 171), RGB(186, 203, 213)}, B, {RGB(186, 203, 213), RGB(149, 171, 184), RGB(44, 95, 134)}},
      {{RGB(44, 98, 139), RGB(186, 203, 213), B}, B, {B, RGB(186, 203, 213), RGB(44, 98, 139)}},
      {{RGB(45, 97, 136), RGB(85, 146, 181), RGB(109, 181, 220)}, B, {RGB(109, 181, 220), RGB(85, 146, 181), RGB(45, 97, 136)}},
      {{RGB(71, 110, 140), RGB(47, 100, 138), RGB(99, 172, 211)}, RGB(104, 178, 218), {RGB(99, 172, 211), RGB(47, 100, 138), RGB(71, 110, 140)}},
      {{S, RGB(75, 117, 147), RGB(46, 100, 140)}, RGB(44, 98, 139), {RGB(46, 100, 140), RGB(75, 117, 147), S}}},
     {2, 5, 10, 14, 18, 22},
     {RGB(225, 242, 251), RGB(216, 238, 250), RGB(201, 231, 247), RGB(152, 209, 239), RGB(140, 202, 235), RGB(127, 194, 229)}},
    {{{{S, RGB(160, 190, 212), RGB(86, 143, 186)}, RGB(60, 127, 177), {RGB(86, 143, 186), RGB(160, 190, 212), S}},
      {{RGB(158, 188, 211), RGB(58, 147, 194), RGB(59, 201, 242)}, RGB(64, 215, 252), {RGB(59, 201, 242), RGB(58, 147, 194), RGB(158, 188, 211)}},
      {{RGB(83, 142, 185), RGB(59, 202, 242), RGB(106, 222, 251)}, RGB(210, 238, 246), {RGB(106, 222, 251), RGB(59, 202, 242), RGB(83, 142, 185)}},
      {{RGB(60, 127, 177), RGB(64, 215, 252), RGB(210, 238, 246)}, B, {RGB(210, 238, 246), RGB(64, 215, 252), RGB(60, 127, 177)}},
      {{RGB(83, 142, 185), RGB(52, 195, 236), RGB(88, 207, 239)}, RGB(210, 238, 246), {RGB(88, 207, 239), RGB(52, 195, 236), RGB(83, 142, 185)}},
      {{RGB(158, 188, 211), RGB(56, 145, 193), RGB(51, 196, 237)}, RGB(64, 215, 252), {RGB(51, 196, 237), RGB(56, 145, 193), RGB(158, 188, 211)}},
      {{S, RGB(155, 187, 210), RGB(81, 140, 184)}, RGB(60, 127, 177), {RGB(81, 140, 184), RGB(155, 187, 210), S}}},
     {2, 4, 8, 12, 16, 20},
     {RGB(238, 243, 245), RGB(235, 240, 242), RGB(233, 238, 241), RGB(213, 223, 229), RGB(208, 220, 227), RGB(202, 215, 222)}},
    {{{{S, RGB(183, 197, 190), RGB(175, 180, 183)}, RGB(173, 178, 181), {RGB(175, 180, 183), RGB(183, 197, 190), S}},
      {{RGB(177, 181, 174), RGB(192, 195, 198), RGB(241, 242, 242)}, G(252), {RGB(241, 242, 242), RGB(192, 195, 198), RGB(177, 181, 174)}},
      {{RGB(174, 179, 182), RGB(242, 242, 243), G(251)}, G(244), {G(251), RGB(242, 242, 243), RGB(174, 179, 182)}},
      {{RGB(173, 178, 181), G(252), G(244)}, G(244), {G(244), G(252), RGB(173, 178, 181)}},
      {{RGB(174, 179, 182), RGB(242, 242, 243), G(251)}, G(244), {G(251), RGB(242, 242, 243), RGB(174, 179, 182)}},
      {{RGB(177, 181, 174), RGB(192, 195, 198), RGB(243, 243, 244)}, G(252), {RGB(243, 243, 244), RGB(192, 195, 198), RGB(177, 181, 174)}},
      {{S, RGB(183, 197, 190), RGB(175, 180, 183)}, RGB(173, 178, 181), {RGB(175, 180, 183), RGB(183, 197, 190), S}}},
     {2, 4, 8, 12, 16, 20}, {G(244), G(244), G(244), G(244), G(244), G(244)}},
};
// clang-format on

// The colour the face must have at (x, y) of a button 25 high, 83 wide unless told.
inline COLORREF Expected(Face face, int x, int y, int width = kWidth) {
    const Picture& p = kPictures[face];
    const Row& row = p.rows[y < 3 ? y : y >= kHeight - 3 ? y - kHeight + 7 : 3];
    const COLORREF c = x < 3 ? row.left[x] : x >= width - 3 ? row.right[x - width + 3] : row.middle;
    int band = 5;
    while (band > 0 && y < p.bandStart[band])
        --band;
    return c == S ? GetSysColor(COLOR_BTNFACE) : c == B ? p.band[band] : c;
}

inline std::string Rgb(COLORREF c) {
    std::ostringstream text;
    text << "RGB(" << int{GetRValue(c)} << ", " << int{GetGValue(c)} << ", " << int{GetBValue(c)} << ")";
    return text.str();
}

// The first pixel of a picture unlike the expected one, with how many are, or "" when none is.
template <typename ExpectedAt>
std::string FirstWrongPixel(const test_support::Picture& picture, ExpectedAt&& expected) {
    std::ostringstream first;
    int wrong = 0;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const COLORREF got = picture(x, y), want = expected(x, y);
            if (want == kAny || got == want)
                continue;
            if (wrong++ == 0)
                first << "(" << x << ", " << y << ") is " << Rgb(got) << ", not " << Rgb(want) << "; ";
        }
    }
    if (wrong > 0)
        first << wrong << " pixels wrong";
    return first.str();
}

}  // namespace face_rows
