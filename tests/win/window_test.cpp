// The calculator window in-process, at the resolution it is started at and after each change of resolution, and what screen readers learn of it.
#include <gtest/gtest.h>
#include <oleacc.h>

#include <string>
#include <vector>

#include "calculator/form1.h"
#include "forms_runtime/form.h"
#include "forms_runtime/form_internal.h"
#include "test_support/gdi_headroom.h"

namespace {

// Places in the window's client area (a label's right and bottom 0: its caption sets them), the LOGFONT height at
// 96 DPI (-14 is 10.5 pt, -12 is 9 pt), the parent (nullptr: the window). The colours are checked on screen, end to end.
struct Expected { const wchar_t* name; calculator::Form1Control id; const wchar_t* windowClass; int buttonType; calculator::Form1Control parent; RECT at96, at144; int font96; };

using enum calculator::Form1Control;
const Expected kControls[] = {
    {L"Frame1", Frame1, L"TavirelFrame", 0, Form1, {4, 0, 481, 109}, {6, 0, 722, 164}, -12},
    {L"Label1", Label1, L"Static", 0, Frame1, {28, 30, 0, 0}, {42, 45, 0, 0}, -12},
    {L"txtCurPrice", txtCurPrice, L"Edit", 0, Frame1, {100, 26, 211, 49}, {150, 39, 317, 74}, -14},
    {L"Option1", Option1, L"Button", BS_RADIOBUTTON, Frame1, {96, 64, 179, 95}, {144, 96, 269, 143}, -12},
    {L"Option2", Option2, L"Button", BS_RADIOBUTTON, Frame1, {224, 64, 307, 95}, {336, 96, 461, 143}, -12},
    {L"Command1", Command1, L"Button", BS_OWNERDRAW, Form1, {185, 124, 302, 149}, {278, 186, 454, 224}, -12},
    {L"Frame2", Frame2, L"TavirelFrame", 0, Form1, {4, 164, 481, 273}, {6, 246, 722, 410}, -12},
    {L"Label2(0)", Label2_0, L"Static", 0, Frame2, {32, 192, 0, 0}, {48, 288, 0, 0}, -12},
    {L"txtZTPrice", txtZTPrice, L"Edit", 0, Frame2, {84, 188, 191, 211}, {126, 282, 287, 317}, -14},
    {L"Label2(1)", Label2_1, L"Static", 0, Frame2, {262, 192, 0, 0}, {393, 288, 0, 0}, -12},
    {L"txtDTPrice", txtDTPrice, L"Edit", 0, Frame2, {314, 188, 421, 211}, {471, 282, 632, 317}, -14},
    {L"cmdGetZT", cmdGetZT, L"Button", BS_OWNERDRAW, Form1, {92, 224, 175, 249}, {138, 336, 263, 374}, -12},
    {L"cmdGetDT", cmdGetDT, L"Button", BS_OWNERDRAW, Form1, {326, 224, 409, 249}, {489, 336, 614, 374}, -12},
};


// Where the window and its controls are, and their fonts' heights.
std::vector<LONG> Measure(const forms::Form& form) {
    RECT client;
    GetClientRect(form.hWnd(), &client);
    std::vector<LONG> measured{client.right, client.bottom};
    for (const Expected& e : kControls) {
        HWND control = form.Control(e.id);
        RECT r;
        GetWindowRect(control, &r);
        MapWindowPoints(HWND_DESKTOP, form.hWnd(), reinterpret_cast<POINT*>(&r), 2);
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
        measured.insert(measured.end(), {r.left, r.top, r.right, r.bottom, font.lfHeight});
    }
    return measured;
}

forms::Form& LoadAt(int dpi, std::span<const forms::EventBinding> events = {}) { return forms::Form::Load(calculator::kForm1, events, GetModuleHandleW(nullptr), dpi); }

// A label's caption measured in the label's own font, as width * 1000 + the height of its line: any font will do.
LONG CaptionSize(HWND label) {
    wchar_t caption[64] = {};
    GetWindowTextW(label, caption, 64);
    HDC dc = GetDC(label);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
    RECT r{};
    DrawTextW(dc, caption, -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(label, dc);
    return r.right * 1000 + r.bottom;
}

// The window against the table at its resolution.
void ExpectLayout(const forms::Form& form, int dpi) {
    const std::vector<LONG> measured = Measure(form);
    EXPECT_EQ(measured[0] * 1000 + measured[1], dpi == 96 ? 484277 : 726416) << "client size at " << dpi;
    for (size_t i = 0; i < std::size(kControls); ++i) {
        const Expected& e = kControls[i];
        SCOPED_TRACE(std::string(e.name, e.name + wcslen(e.name)) + " at " + std::to_string(dpi));
        HWND control = form.Control(e.id);
        wchar_t windowClass[32] = {};
        GetClassNameW(control, windowClass, 32);
        EXPECT_STREQ(windowClass, e.windowClass);
        EXPECT_EQ(GetWindowLongW(control, GWL_STYLE) & (e.buttonType ? BS_TYPEMASK : 0), e.buttonType);
        EXPECT_EQ(GetParent(control), e.parent == Form1 ? form.hWnd() : form.Control(e.parent));
        const RECT& place = dpi == 96 ? e.at96 : e.at144;
        const LONG* m = &measured[2 + 5 * i];
        EXPECT_EQ((std::vector<LONG>{m[0], m[1], m[2] * (place.right != 0), m[3] * (place.bottom != 0), m[4]}),
                  (std::vector<LONG>{place.left, place.top, place.right, place.bottom, MulDiv(e.font96, dpi, 96)}));
        if (place.right == 0) { EXPECT_EQ((m[2] - m[0]) * 1000 + m[3] - m[1], CaptionSize(control)) << "a label fits its caption"; }
    }
}

// The outer size (width * 10000 + height) of the window around its client area at dpi, framed as Windows frames it.
int OuterSize(HWND window, int dpi) {
    using Adjust = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    const auto adjust = reinterpret_cast<Adjust>(reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"user32"), "AdjustWindowRectExForDpi")));
    RECT frame{0, 0, MulDiv(7260, dpi, 1440), MulDiv(4155, dpi, 1440)};
    if (adjust) adjust(&frame, GetWindowLongW(window, GWL_STYLE), FALSE, GetWindowLongW(window, GWL_EXSTYLE), dpi);
    return (frame.right - frame.left) * 10000 + frame.bottom - frame.top;
}

// The width of an icon of the window (ICON_BIG or ICON_SMALL) or of a handle it had; 0 when destroyed.
int IconWidth(HWND window, WPARAM which, HICON had = nullptr) {
    ICONINFO info{};
    BITMAP mask{};
    if (!GetIconInfo(had ? had : reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, which, 0)), &info)) return 0;
    GetObjectW(info.hbmMask, sizeof mask, &mask);
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    return mask.bmWidth;
}

// What a screen reader says for a control, asked of the standard accessibility proxy.
std::wstring AccessibleName(HWND control) {
    // IAccessible's GUID written out: mingw-w64's IID_IAccessible is refused under Wine.
    constexpr GUID kIAccessible{0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
    IAccessible* accessible = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control, OBJID_CLIENT, kIAccessible, reinterpret_cast<void**>(&accessible)))) return L"(none)";
    VARIANT self{};
    self.vt = VT_I4;  // CHILDID_SELF
    BSTR name = nullptr;
    std::wstring text = SUCCEEDED(accessible->get_accName(self, &name)) && name ? name : L"";
    SysFreeString(name);
    accessible->Release();
    if (!text.empty() && text.back() == L'\uFF1A') text.pop_back();  // a label's trailing full-width colon may stay
    return text;
}

// Started at 96 DPI: laid out as the table says, each control named for screen readers (the carry buttons' place over Frame2 is checked on screen,
// end to end). Moved to 144, 120 and back: laid out as the table says and as a window started at each, in the rectangle Windows suggests, keeping
// its state, freeing old fonts and icons. Rescaled while minimized: it stays minimized where it is, and restores whole at the new resolution where
// it stood.
TEST(Window, IsLaidOutNamedAndRescaledAsDefined) {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    forms::Form& form = LoadAt(96, calculator::Form1Events());
    form.Show();
    ExpectLayout(form, 96);
    EXPECT_EQ(GetWindowLongW(form.hWnd(), GWL_STYLE) & WS_THICKFRAME, 0);  // not resizable
    std::wstring names;
    for (const auto control : {txtCurPrice, txtZTPrice, txtDTPrice, Command1, cmdGetZT, cmdGetDT, Option1, Option2}) {
        names += AccessibleName(form.Control(control)) + L"|";
    }
    EXPECT_EQ(names, L"当前收盘价|涨停价|跌停价|计算|取涨停价|取跌停价|10% 幅度|5% 幅度|");
    CoUninitialize();
    form.SetText(txtCurPrice, L"12.5");
    SetActiveWindow(form.hWnd());  // BM_CLICK may be lost on an inactive window
    ASSERT_EQ(GetActiveWindow(), form.hWnd()) << "the window could not be activated";
    SendMessageW(form.Control(Option2), BM_CLICK, 0, 0);
    calculator::Command1_Click();
    HWND focus = GetFocus();
    const int headroom = test_support::GdiHeadroom();
    for (const int dpi : {144, 120, 96}) {
        SCOPED_TRACE(dpi);
        const auto oldFont = reinterpret_cast<HGDIOBJ>(SendMessageW(form.Control(txtCurPrice), WM_GETFONT, 0, 0));
        const auto oldIcon = reinterpret_cast<HICON>(SendMessageW(form.hWnd(), WM_GETICON, ICON_BIG, 0));
        SIZE asked{};  // asked first (Windows 10 1703 on): the window's outer size there
        EXPECT_EQ(SendMessageW(form.hWnd(), 0x02E4 /* WM_GETDPISCALEDSIZE */, dpi, reinterpret_cast<LPARAM>(&asked)), TRUE);
        EXPECT_EQ(asked.cx * 10000 + asked.cy, OuterSize(form.hWnd(), dpi));
        RECT suggested, now;
        EXPECT_TRUE(GetWindowRect(form.hWnd(), &now) && SetRect(&suggested, now.left + 7, now.top + 5, now.left + 7 + asked.cx, now.top + 5 + asked.cy));
        SendMessageW(form.hWnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        EXPECT_EQ(GetObjectType(oldFont), 0u) << "the old layout's font is freed";
        EXPECT_EQ((std::vector<int>{IconWidth(form.hWnd(), ICON_BIG, oldIcon), IconWidth(form.hWnd(), ICON_BIG), IconWidth(form.hWnd(), ICON_SMALL)}),
                  (std::vector<int>{0, dpi / 3, dpi / 6})) << "the old icon destroyed, the new ones at the sizes for " << dpi;
        EXPECT_TRUE(GetWindowRect(form.hWnd(), &now) && now.left == suggested.left && now.top == suggested.top);
        forms::Form& fresh = LoadAt(dpi);
        EXPECT_TRUE(Measure(form) == Measure(fresh) && DestroyWindow(fresh.hWnd())) << "as a window started at " << dpi;
        if (dpi != 120) ExpectLayout(form, dpi);
        EXPECT_EQ(form.Text(txtCurPrice) + L" " + form.Text(txtZTPrice) + L" " + form.Text(txtDTPrice), L"12.5 13.12 11.88");
        EXPECT_TRUE(form.Value(Option2) && GetFocus() == focus && focus == form.Control(Option2));
    }
    EXPECT_EQ(test_support::GdiHeadroom(), headroom);
    RECT before, minimized, now;
    EXPECT_TRUE(GetWindowRect(form.hWnd(), &before) && ShowWindow(form.hWnd(), SW_MINIMIZE) && GetWindowRect(form.hWnd(), &minimized));
    RECT suggested{minimized.left + 50, minimized.top + 50, minimized.left + 900, minimized.top + 600};
    SendMessageW(form.hWnd(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_TRUE(IsIconic(form.hWnd()) && GetWindowRect(form.hWnd(), &now) && EqualRect(&now, &minimized));
    WINDOWPLACEMENT placement{sizeof placement, 0, 0, {}, {}, {}};  // to restore at the new size, from where it stood
    const RECT& normal = GetWindowPlacement(form.hWnd(), &placement) ? placement.rcNormalPosition : RECT{};
    EXPECT_EQ((normal.right - normal.left) * 10000 + normal.bottom - normal.top, OuterSize(form.hWnd(), 144));
    ShowWindow(form.hWnd(), SW_RESTORE);
    ExpectLayout(form, 144);
    EXPECT_TRUE(GetWindowRect(form.hWnd(), &now) && now.left == before.left && now.top == before.top);
    form.Close();
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {}  // each closed window posts one
}

// A missing face with no known fallback: the first family listed that scales and is written horizontally, terminated.
TEST(WindowFonts, TheLastResortIsAScalableHorizontalFamily) {
    const struct { const wchar_t* face; DWORD type; const wchar_t* taken; } kFamilies[] = {
        {L"Fixedsys", RASTER_FONTTYPE, L""}, {L"@SimSun", TRUETYPE_FONTTYPE, L""}, {L"A family whose name is longer than 31", TRUETYPE_FONTTYPE, L"A family whose name is longer t"}};
    for (const auto& family : kFamilies) {
        LOGFONTW font{};
        wcsncpy(font.lfFaceName, family.face, LF_FACESIZE - 1);
        wchar_t face[LF_FACESIZE + 1] = {};
        wmemset(face, L'x', LF_FACESIZE);
        EXPECT_EQ(forms::TakeLastResortFace(font, family.type, reinterpret_cast<wchar_t(&)[LF_FACESIZE]>(face)) ? face : L"", std::wstring(family.taken));
    }
}
}  // namespace
