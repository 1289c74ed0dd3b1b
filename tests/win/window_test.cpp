// The calculator window in-process, at the resolution it is started at and
// after each move to a monitor of another resolution.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "button_skin/mVistaButton.h"
#include "calculator/form1.h"
#include "forms_runtime/form.h"
#include "tests/win/face_rows.h"

namespace {

// Places in the window's client area (a label's bottom 0: its font sets it), the LOGFONT
// height at 96 DPI (-14 is 10.5 pt, -12 is 9 pt), the parent (nullptr: the window) and the
// back colour (CLR_INVALID: the system's).
struct Expected {
    const wchar_t *name, *windowClass;
    int index, buttonType;
    const wchar_t* parent;
    RECT at96, at144;
    int font96;
    COLORREF back;
};

// clang-format off
const Expected kControls[] = {
    {L"Frame1", L"TavirelFrame", -1, 0, nullptr, {4, 0, 481, 109}, {6, 0, 722, 164}, -12, CLR_INVALID},
    {L"Label1", L"Static", -1, 0, L"Frame1", {28, 30, 100, 0}, {42, 45, 150, 0}, -12, CLR_INVALID},
    {L"txtCurPrice", L"Edit", -1, 0, L"Frame1", {100, 26, 211, 49}, {150, 39, 317, 74}, -14, RGB(192, 192, 255)},
    {L"Option1", L"Button", -1, BS_RADIOBUTTON, L"Frame1", {96, 64, 179, 95}, {144, 96, 269, 143}, -12, CLR_INVALID},
    {L"Option2", L"Button", -1, BS_RADIOBUTTON, L"Frame1", {224, 64, 307, 95}, {336, 96, 461, 143}, -12, CLR_INVALID},
    {L"Command1", L"Button", -1, BS_OWNERDRAW, nullptr, {185, 124, 302, 149}, {278, 186, 454, 224}, -12, CLR_INVALID},
    {L"Frame2", L"TavirelFrame", -1, 0, nullptr, {4, 164, 481, 273}, {6, 246, 722, 410}, -12, CLR_INVALID},
    {L"Label2", L"Static", 0, 0, L"Frame2", {32, 192, 80, 0}, {48, 288, 120, 0}, -12, CLR_INVALID},
    {L"txtZTPrice", L"Edit", -1, 0, L"Frame2", {84, 188, 191, 211}, {126, 282, 287, 317}, -14, RGB(255, 128, 128)},
    {L"Label2", L"Static", 1, 0, L"Frame2", {262, 192, 310, 0}, {393, 288, 465, 0}, -12, CLR_INVALID},
    {L"txtDTPrice", L"Edit", -1, 0, L"Frame2", {314, 188, 421, 211}, {471, 282, 632, 317}, -14, RGB(128, 255, 128)},
    {L"cmdGetZT", L"Button", -1, BS_OWNERDRAW, nullptr, {92, 224, 175, 249}, {138, 336, 263, 374}, -12, CLR_INVALID},
    {L"cmdGetDT", L"Button", -1, BS_OWNERDRAW, nullptr, {326, 224, 409, 249}, {489, 336, 614, 374}, -12, CLR_INVALID},
};
// clang-format on

// Where the window and its controls are, and their fonts' heights.
std::vector<LONG> Measure(const forms::Form& form) {
    RECT client;
    GetClientRect(form.hWnd(), &client);
    std::vector<LONG> measured{client.right, client.bottom};
    for (const Expected& e : kControls) {
        HWND control = form.Control(e.name, e.index);
        RECT r;
        GetWindowRect(control, &r);
        MapWindowPoints(HWND_DESKTOP, form.hWnd(), reinterpret_cast<POINT*>(&r), 2);
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
        measured.insert(measured.end(), {r.left, r.top, r.right, r.bottom, font.lfHeight});
    }
    return measured;
}

forms::Form& LoadAt(int dpi, std::span<const forms::EventBinding> events = {}) {
    return forms::Form::Load(calculator::kForm1, events, GetModuleHandleW(nullptr), dpi);
}

// The window against the table at its resolution.
void ExpectLayout(const forms::Form& form, int dpi) {
    const std::vector<LONG> measured = Measure(form);
    EXPECT_EQ(measured[0] * 1000 + measured[1], dpi == 96 ? 484277 : 726416) << "client size at " << dpi;
    for (size_t i = 0; i < std::size(kControls); ++i) {
        const Expected& e = kControls[i];
        SCOPED_TRACE(std::string(e.name, e.name + wcslen(e.name)) + " " + std::to_string(e.index) + " at " + std::to_string(dpi));
        HWND control = form.Control(e.name, e.index);
        wchar_t windowClass[32] = {};
        GetClassNameW(control, windowClass, 32);
        EXPECT_STREQ(windowClass, e.windowClass);
        EXPECT_EQ(GetWindowLongW(control, GWL_STYLE) & (e.buttonType ? BS_TYPEMASK : 0), e.buttonType);
        EXPECT_EQ(GetParent(control), e.parent ? form.Control(e.parent) : form.hWnd());
        const RECT& place = dpi == 96 ? e.at96 : e.at144;
        const LONG* m = &measured[2 + 5 * i];
        EXPECT_EQ((std::vector<LONG>{m[0], m[1], m[2], m[3] * (place.bottom != 0), m[4]}),
                  (std::vector<LONG>{place.left, place.top, place.right, place.bottom, MulDiv(e.font96, dpi, 96)}));
        EXPECT_GE(m[3] - m[1], -m[4]);  // one line of its font at least
        if (e.back == CLR_INVALID) continue;
        HDC dc = GetDC(control);
        LOGBRUSH brush{};
        GetObjectW(reinterpret_cast<HBRUSH>(SendMessageW(GetParent(control), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                                                         reinterpret_cast<LPARAM>(control))), sizeof brush, &brush);
        ReleaseDC(control, dc);
        EXPECT_EQ(brush.lbColor, e.back);
    }
}

// Started at 96 DPI and moved to 144, 120 and back: laid out as the table
// says and as a window started at each, keeping its state, freeing old fonts.
TEST(Window, IsLaidOutAsDefinedAtEachResolutionItIsStartedAtOrMovedTo) {
    forms::Form& form = LoadAt(96, calculator::Form1Events());
    form.Show();
    ExpectLayout(form, 96);
    EXPECT_EQ(GetWindowLongW(form.hWnd(), GWL_STYLE) & WS_THICKFRAME, 0);  // not resizable
    form.SetText(L"txtCurPrice", L"12.5");
    SendMessageW(form.Control(L"Option2"), BM_CLICK, 0, 0);
    calculator::Command1_Click();
    HWND focus = GetFocus();
    const int headroom = face_rows::GdiHeadroom();
    for (const int dpi : {144, 120, 96}) {
        SCOPED_TRACE(dpi);
        const auto oldFont = reinterpret_cast<HGDIOBJ>(SendMessageW(form.Control(L"txtCurPrice"), WM_GETFONT, 0, 0));
        RECT suggested;
        GetWindowRect(form.hWnd(), &suggested);
        OffsetRect(&suggested, 7, 5);
        SendMessageW(form.hWnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        EXPECT_EQ(GetObjectType(oldFont), 0u) << "the old layout's font is freed";
        RECT now;  // at the top-left Windows suggests
        EXPECT_TRUE(GetWindowRect(form.hWnd(), &now) && now.left == suggested.left && now.top == suggested.top);
        forms::Form& fresh = LoadAt(dpi);
        EXPECT_EQ(Measure(form), Measure(fresh));
        DestroyWindow(fresh.hWnd());
        if (dpi != 120) ExpectLayout(form, dpi);
        EXPECT_EQ(form.Text(L"txtCurPrice") + L" " + form.Text(L"txtZTPrice") + L" " + form.Text(L"txtDTPrice"),
                  L"12.5 13.12 11.88");
        EXPECT_TRUE(form.Value(L"Option2") && GetFocus() == focus && focus == form.Control(L"Option2"));
        if (dpi != 144) continue;
        // A button's face at its new size, 125 x 38: bands 6 rows high, band 5 ending at row 29.
        HWND button = form.Control(L"cmdGetZT");
        RECT item;
        GetClientRect(button, &item);
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, CreateBitmap(item.right, item.bottom, 1, 32, nullptr));
        mVistaButton::DrawButton(button, dc, item, 0);
        using face_rows::G;
        EXPECT_EQ((std::vector<COLORREF>{GetPixel(dc, 1, 0), GetPixel(dc, 0, 19), GetPixel(dc, 62, 37),
                                         GetPixel(dc, 123, 36), GetPixel(dc, 3, 29), GetPixel(dc, 3, 30), GetPixel(dc, 3, 35)}),
                  (std::vector<COLORREF>{G(144), G(112), G(112), G(143), G(216), G(209), G(209)}));
        DeleteObject(SelectObject(dc, old));
        DeleteDC(dc);
    }
    EXPECT_EQ(face_rows::GdiHeadroom(), headroom);
    form.Close();
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {}  // each closed window posts one
}

TEST(WindowFonts, TheTitleBarSymbolFontIsFound) {
    HDC screen = GetDC(nullptr);
    HFONT font = CreateFontW(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, SYMBOL_CHARSET, 0, 0, 0, 0, L"Marlett");
    HGDIOBJ old = SelectObject(screen, font);
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(screen, LF_FACESIZE, face);
    DeleteObject(SelectObject(screen, old));
    ReleaseDC(nullptr, screen);
    EXPECT_STREQ(face, L"Marlett");
}

}  // namespace
