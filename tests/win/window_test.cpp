// The calculator window built from its definition, in-process, at 96 and at
// 144 DPI: each control's kind, container, place, font and back colour.
#include <gtest/gtest.h>

#include <string>

#include "calculator/form1.h"
#include "forms_runtime/form.h"

namespace {

struct Place {
    int x, y, width, height;  // in the window's client area; a label's height is its font's
};
struct Expected {
    const wchar_t* name;
    int index;
    const wchar_t* windowClass;
    DWORD typeStyle;        // the BS_ type of a button
    const wchar_t* parent;  // nullptr: the window itself
    Place at96, at144;
    int fontHeight96;  // LOGFONT height: -14 is 10.5 pt, -12 is 9 pt
    COLORREF back;     // CLR_INVALID: the system's colour
};

// clang-format off
const Expected kControls[] = {
    {L"Frame1",     -1, L"TavirelFrame", 0, nullptr,   {4, 0, 477, 109},    {6, 0, 716, 164},    -12, CLR_INVALID},
    {L"Label1",     -1, L"Static", 0, L"Frame1",       {28, 30, 72, 0},     {42, 45, 108, 0},    -12, CLR_INVALID},
    {L"txtCurPrice",-1, L"Edit", 0, L"Frame1",         {100, 26, 111, 23},  {150, 39, 167, 35},  -14, RGB(192, 192, 255)},
    {L"Option1",    -1, L"Button", BS_RADIOBUTTON, L"Frame1", {96, 64, 83, 31}, {144, 96, 125, 47}, -12, CLR_INVALID},
    {L"Option2",    -1, L"Button", BS_RADIOBUTTON, L"Frame1", {224, 64, 83, 31}, {336, 96, 125, 47}, -12, CLR_INVALID},
    {L"Command1",   -1, L"Button", BS_OWNERDRAW, nullptr, {185, 124, 117, 25}, {278, 186, 176, 38}, -12, CLR_INVALID},
    {L"Frame2",     -1, L"TavirelFrame", 0, nullptr,   {4, 164, 477, 109},  {6, 246, 716, 164},  -12, CLR_INVALID},
    {L"Label2",      0, L"Static", 0, L"Frame2",       {32, 192, 48, 0},    {48, 288, 72, 0},    -12, CLR_INVALID},
    {L"txtZTPrice", -1, L"Edit", 0, L"Frame2",         {84, 188, 107, 23},  {126, 282, 161, 35}, -14, RGB(255, 128, 128)},
    {L"Label2",      1, L"Static", 0, L"Frame2",       {262, 192, 48, 0},   {393, 288, 72, 0},   -12, CLR_INVALID},
    {L"txtDTPrice", -1, L"Edit", 0, L"Frame2",         {314, 188, 107, 23}, {471, 282, 161, 35}, -14, RGB(128, 255, 128)},
    {L"cmdGetZT",   -1, L"Button", BS_OWNERDRAW, nullptr, {92, 224, 83, 25}, {138, 336, 125, 38}, -12, CLR_INVALID},
    {L"cmdGetDT",   -1, L"Button", BS_OWNERDRAW, nullptr, {326, 224, 83, 25}, {489, 336, 125, 38}, -12, CLR_INVALID},
};
// clang-format on

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

class WindowLayout : public ::testing::TestWithParam<int> {};

TEST_P(WindowLayout, EveryControlHasItsKindContainerPlaceFontAndColour) {
    const int dpi = GetParam();
    forms::Form& form = forms::Form::Load(calculator::kForm1, {}, GetModuleHandleW(nullptr), dpi);
    HWND window = form.hWnd();
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, dpi == 96 ? 484 : 726);
    EXPECT_EQ(client.bottom, dpi == 96 ? 277 : 416);
    EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & WS_THICKFRAME, 0);  // not resizable
    for (const Expected& e : kControls) {
        SCOPED_TRACE(std::string(e.name, e.name + wcslen(e.name)) + " " + std::to_string(e.index));
        HWND control = form.Control(e.name, e.index);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(ClassOf(control), e.windowClass);
        if (e.typeStyle) {
            EXPECT_EQ(GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK, static_cast<LONG>(e.typeStyle));
        }
        EXPECT_EQ(GetParent(control), e.parent ? form.Control(e.parent) : window);
        RECT r;
        GetWindowRect(control, &r);
        MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&r), 2);
        const Place& p = dpi == 96 ? e.at96 : e.at144;
        EXPECT_EQ(r.left, p.x);
        EXPECT_EQ(r.top, p.y);
        EXPECT_EQ(r.right - r.left, p.width);
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
        EXPECT_EQ(font.lfHeight, MulDiv(e.fontHeight96, dpi, 96));
        EXPECT_EQ(r.bottom - r.top, p.height ? p.height : r.bottom - r.top);
        EXPECT_GE(r.bottom - r.top, -font.lfHeight);  // at least one line of its own font
        if (e.back == CLR_INVALID) continue;
        HDC dc = GetDC(control);
        LOGBRUSH brush{};
        GetObjectW(reinterpret_cast<HBRUSH>(SendMessageW(GetParent(control), WM_CTLCOLOREDIT,
                                                         reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control))),
                   sizeof brush, &brush);
        ReleaseDC(control, dc);
        EXPECT_EQ(brush.lbColor, e.back);
    }
    DestroyWindow(window);
}

INSTANTIATE_TEST_SUITE_P(Resolutions, WindowLayout, ::testing::Values(96, 144));

TEST(WindowFonts, TheTitleBarSymbolFontIsFound) {
    HDC screen = GetDC(nullptr);
    HFONT font = CreateFontW(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, SYMBOL_CHARSET, 0, 0, 0, 0, L"Marlett");
    HGDIOBJ old = SelectObject(screen, font);
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(screen, LF_FACESIZE, face);
    SelectObject(screen, old);
    DeleteObject(font);
    ReleaseDC(nullptr, screen);
    EXPECT_STREQ(face, L"Marlett");
}

}  // namespace
