// The calculator window in-process: its layout and names for screen readers at the resolution it starts at, and after
// each change of resolution.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <imm.h>
#include <oleacc.h>

#include <array>
#include <span>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "calculator/form1.h"
#include "forms_runtime/form.h"
#include "forms_runtime/form_internal.h"
#include "forms_runtime/high_contrast.h"
#include "forms_runtime/scoped_gdi.h"
#include "test_support/gdi_headroom.h"
#include "test_support/picture.h"

namespace {

using Id = calculator::Form1Control;
using enum calculator::Form1Control;
using Size = std::pair<LONG, LONG>;

// Left, top, right and bottom in the window's client area, and the font's LOGFONT height.
using Place = std::array<LONG, 5>;

// Worked out from the definition's twips (15 a pixel at 96 DPI, 10 at 144): a frame's controls at the frame's place
// plus their own. A label's right and bottom are 0: it sizes itself to its caption. The fonts: 9 pt and, in the text
// boxes, 10.5 pt, 12 and 14 pixels high at 96 DPI, 18 and 21 at 144.
// clang-format off
const std::tuple<Id, Place, Place> kControls[] = {
    {Frame1,      {4, 0, 481, 109, -12},     {6, 0, 722, 164, -18}},
    {Label1,      {28, 30, 0, 0, -12},       {42, 45, 0, 0, -18}},
    {txtCurPrice, {100, 26, 211, 49, -14},   {150, 39, 317, 74, -21}},
    {Option1,     {96, 64, 179, 95, -12},    {144, 96, 269, 143, -18}},
    {Option2,     {224, 64, 307, 95, -12},   {336, 96, 461, 143, -18}},
    {Command1,    {185, 124, 302, 149, -12}, {278, 186, 454, 224, -18}},
    {Frame2,      {4, 164, 481, 273, -12},   {6, 246, 722, 410, -18}},
    {Label2_0,    {32, 192, 0, 0, -12},      {48, 288, 0, 0, -18}},
    {txtZTPrice,  {84, 188, 191, 211, -14},  {126, 282, 287, 317, -21}},
    {Label2_1,    {262, 192, 0, 0, -12},     {393, 288, 0, 0, -18}},
    {txtDTPrice,  {314, 188, 421, 211, -14}, {471, 282, 632, 317, -21}},
    {cmdGetZT,    {92, 224, 175, 249, -12},  {138, 336, 263, 374, -18}},
    {cmdGetDT,    {326, 224, 409, 249, -12}, {489, 336, 614, 374, -18}},
};
// clang-format on

Place PlaceOf(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(HWND_DESKTOP, GetAncestor(control, GA_ROOT), reinterpret_cast<POINT*>(&r), 2);
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
    return {r.left, r.top, r.right, r.bottom, font.lfHeight};
}

std::array<LONG, 4> WindowEdges(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return {r.left, r.top, r.right, r.bottom};
}

Size ClientSize(HWND window) {
    const SIZE size = test_support::ClientSize(window);
    return {size.cx, size.cy};
}

Size OuterSize(HWND window) {
    const auto edges = WindowEdges(window);
    return {edges[2] - edges[0], edges[3] - edges[1]};
}

// A label's caption in the label's own font, whichever the system gave it: its width and the height of its line.
Size CaptionSize(HWND label) {
    wchar_t caption[64] = {};
    GetWindowTextW(label, caption, 64);
    const forms::ScopedGetDc dc(label);
    const forms::ScopedSelect font(dc.Get(), reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
    RECT extent{};
    DrawTextW(dc.Get(), caption, -1, &extent, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    return {extent.right, extent.bottom};
}

// The window against the table at 96 or 144 DPI, each label as large as its caption.
void ExpectLayout(const forms::Form& form, int dpi) {
    EXPECT_EQ(ClientSize(form.hWnd()), (dpi == 96 ? Size{484, 277} : Size{726, 416})) << "client area at " << dpi;
    for (const auto& [id, at96, at144] : kControls) {
        Place want = dpi == 96 ? at96 : at144;
        if (want[2] == 0) {
            const Size caption = CaptionSize(form.Control(id));
            want[2] = want[0] + caption.first;
            want[3] = want[1] + caption.second;
        }
        EXPECT_EQ(PlaceOf(form.Control(id)), want) << testing::PrintToString(id) << " at " << dpi;
    }
}

// The width of an icon; 0 once it is destroyed.
int IconWidth(HICON icon) {
    ICONINFO info{};
    BITMAP mask{};
    if (!GetIconInfo(icon, &info))
        return 0;
    GetObjectW(info.hbmMask, sizeof mask, &mask);
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    return mask.bmWidth;
}

HICON Icon(HWND window, WPARAM which) {
    return reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, which, 0));
}

// What a screen reader says for a control, asked of the standard accessibility proxy.
std::wstring AccessibleName(HWND control) {
    // IAccessible's GUID written out: mingw-w64's IID_IAccessible is refused under Wine.
    constexpr GUID kIAccessible{0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
    IAccessible* accessible = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control, OBJID_CLIENT, kIAccessible, reinterpret_cast<void**>(&accessible))))
        return L"(no accessible object)";
    VARIANT self{};
    self.vt = VT_I4;  // CHILDID_SELF
    BSTR name = nullptr;
    std::wstring text = SUCCEEDED(accessible->get_accName(self, &name)) && name ? name : L"";
    SysFreeString(name);
    accessible->Release();
    if (!text.empty() && text.back() == L'\uFF1A')
        text.pop_back();  // a label's trailing full-width colon may stay
    return text;
}

// Each case loads the windows it needs; they go when it ends.
class Window : public ::testing::Test {
protected:
    forms::Form& Load(int dpi, std::span<const forms::EventBinding> events = {}) {
        forms::Form& form = forms::Form::Load(calculator::kForm1, events, GetModuleHandleW(nullptr), dpi);
        windows_.push_back(form.hWnd());
        return form;
    }
    void TearDown() override {
        for (HWND window : windows_)
            DestroyWindow(window);
        MSG quit;
        while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }  // each window gone posts one
    }
    // Windows asks the window's outer size at dpi, then suggests a rectangle of that size beside where it stands.
    static RECT ChangeResolution(forms::Form& form, int dpi) {
        SIZE asked{};
        if (!SendMessageW(form.hWnd(), 0x02E4 /* WM_GETDPISCALEDSIZE */, dpi, reinterpret_cast<LPARAM>(&asked)))
            ADD_FAILURE() << "the size at " << dpi << " not answered";
        RECT now;
        GetWindowRect(form.hWnd(), &now);
        RECT suggested{now.left + 7, now.top + 5, now.left + 7 + asked.cx, now.top + 5 + asked.cy};
        SendMessageW(form.hWnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        return suggested;
    }

private:
    std::vector<HWND> windows_;
};

TEST_F(Window, IsLaidOutFromItsTwips) {
    for (const int dpi : {96, 144})
        ExpectLayout(Load(dpi), dpi);
}

// A box by the label made just before it, a button or option by its caption.
TEST_F(Window, NamesItsControlsForScreenReaders) {
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    const forms::Form& form = Load(96);
    const std::pair<Id, const wchar_t*> names[] = {
        {txtCurPrice, L"当前收盘价"}, {txtZTPrice, L"涨停价"}, {txtDTPrice, L"跌停价"}, {Command1, L"计算"},
        {cmdGetZT, L"取涨停价"},      {cmdGetDT, L"取跌停价"}, {Option1, L"10% 幅度"},  {Option2, L"5% 幅度"},
    };
    for (const auto& [id, name] : names)
        EXPECT_EQ(AccessibleName(form.Control(id)), name) << testing::PrintToString(id);
    CoUninitialize();
}

// Asked first (Windows 10 1703 on), it answers its outer size there: back at 96 DPI, the size it started with. At the
// place Windows then suggests, every control lies where and as large as in a window started there, with icons and
// fonts of the new size, and nothing of the old ones left; the price, the results, the band and the focus as they were.
TEST_F(Window, RescaledIsLaidOutAsIfStartedThere) {
    forms::Form& form = Load(96, calculator::Form1Events());
    form.Show();
    form.SetText(txtCurPrice, L"12.5");
    SetActiveWindow(form.hWnd());  // BM_CLICK may be lost on an inactive window
    ASSERT_EQ(GetActiveWindow(), form.hWnd()) << "the window could not be activated";
    SendMessageW(form.Control(Option2), BM_CLICK, 0, 0);
    calculator::Command1_Click();
    const Size started = OuterSize(form.hWnd());
    const int headroom = test_support::GdiHeadroom();
    for (const int dpi : {144, 120, 96}) {
        SCOPED_TRACE(dpi);
        HICON oldBig = Icon(form.hWnd(), ICON_BIG), oldSmall = Icon(form.hWnd(), ICON_SMALL);
        const RECT suggested = ChangeResolution(form, dpi);
        if (dpi == 96) {
            EXPECT_EQ(Size(suggested.right - suggested.left, suggested.bottom - suggested.top), started);
        }
        const auto edges = WindowEdges(form.hWnd());
        EXPECT_EQ(Size(edges[0], edges[1]), Size(suggested.left, suggested.top));
        const forms::Form& fresh = Load(dpi);
        EXPECT_EQ(ClientSize(form.hWnd()), ClientSize(fresh.hWnd()));
        for (const auto& [id, at96, at144] : kControls)
            EXPECT_EQ(PlaceOf(form.Control(id)), PlaceOf(fresh.Control(id))) << testing::PrintToString(id);
        EXPECT_EQ(IconWidth(Icon(form.hWnd(), ICON_BIG)), dpi / 3);
        EXPECT_EQ(IconWidth(Icon(form.hWnd(), ICON_SMALL)), dpi / 6);
        EXPECT_EQ(std::pair(IconWidth(oldBig), IconWidth(oldSmall)), std::pair(0, 0)) << "the old icons freed";
        DestroyWindow(fresh.hWnd());
        const std::array<std::wstring, 3> texts{form.Text(txtCurPrice), form.Text(txtZTPrice), form.Text(txtDTPrice)};
        EXPECT_EQ(texts, (std::array<std::wstring, 3>{L"12.5", L"13.12", L"11.88"}));
        EXPECT_TRUE(form.Value(Option2));
        EXPECT_EQ(GetFocus(), form.Control(Option2));
    }
    EXPECT_EQ(test_support::GdiHeadroom(), headroom);
}

// The price box takes no input method, so that the point key types a point in any input mode; the result boxes keep
// theirs.
TEST_F(Window, OnlyThePriceBoxTakesNoInputMethod) {
    const forms::Form& form = Load(96);
    for (const auto& [id, has] : {std::pair{txtCurPrice, false}, {txtZTPrice, true}, {txtDTPrice, true}}) {
        HIMC context = ImmGetContext(form.Control(id));
        EXPECT_EQ(context != nullptr, has) << testing::PrintToString(id);
        ImmReleaseContext(form.Control(id), context);
    }
}

// A change of theme (of the colours, or of high contrast alone) reads the setting again and paints everything anew;
// under a high-contrast theme the boxes take the system's window colours, else their own.
TEST_F(Window, FollowsAHighContrastTheme) {
    forms::Form& form = Load(96);
    form.Show();
    const HDC dc = CreateCompatibleDC(nullptr);
    const auto colours = [&](Id id) {
        HWND box = form.Control(id);
        const auto brush = reinterpret_cast<HBRUSH>(
            SendMessageW(GetParent(box), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(box)));
        LOGBRUSH fill{};
        GetObjectW(brush, sizeof fill, &fill);
        return std::array{GetTextColor(dc), GetBkColor(dc), fill.lbColor};
    };
    const COLORREF text = GetSysColor(COLOR_WINDOWTEXT), window = GetSysColor(COLOR_WINDOW);
    const std::tuple<UINT, WPARAM, bool> changes[] = {{WM_SYSCOLORCHANGE, 0, true},
                                                      {WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, true},
                                                      {WM_SETTINGCHANGE, SPI_SETBEEP, false}};
    for (const auto& [message, setting, read] : changes) {
        SCOPED_TRACE(testing::Message() << message << ", " << setting);
        forms::SetHighContrastSource(+[] { return false; });
        forms::ReadHighContrast();
        RedrawWindow(form.hWnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        forms::SetHighContrastSource(+[] { return true; });
        SendMessageW(form.hWnd(), message, setting, 0);
        EXPECT_EQ(GetUpdateRect(form.Control(Command1), nullptr, FALSE), read) << "painted anew";
        const std::array<COLORREF, 3> own{text, RGB(192, 192, 255), RGB(192, 192, 255)}, system{text, window, window};
        EXPECT_EQ(colours(txtCurPrice), read ? system : own);
        EXPECT_EQ(colours(txtZTPrice)[2], read ? window : RGB(255, 128, 128));
    }
    forms::SetHighContrastSource(nullptr);
    forms::ReadHighContrast();
    DeleteDC(dc);
}

// Given the focus itself, the window passes it on to the control that had it.
TEST_F(Window, PassesTheFocusOnToTheControlThatHadIt) {
    forms::Form& form = Load(96);
    form.Show();
    SetFocus(form.Control(cmdGetDT));
    SetFocus(form.hWnd());
    EXPECT_EQ(GetFocus(), form.Control(cmdGetDT));
}

// Minimized, it stays so where it is; restored, it stands where it stood, laid out at the new resolution.
TEST_F(Window, RescaledWhileMinimizedRestoresAtTheNewSize) {
    forms::Form& form = Load(96);
    form.Show();
    const auto before = WindowEdges(form.hWnd());
    ShowWindow(form.hWnd(), SW_MINIMIZE);
    const auto minimized = WindowEdges(form.hWnd());
    RECT suggested{minimized[0] + 50, minimized[1] + 50, minimized[0] + 900, minimized[1] + 600};
    SendMessageW(form.hWnd(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_TRUE(IsIconic(form.hWnd()));
    EXPECT_EQ(WindowEdges(form.hWnd()), minimized);
    ShowWindow(form.hWnd(), SW_RESTORE);
    ExpectLayout(form, 144);
    const auto restored = WindowEdges(form.hWnd());
    EXPECT_EQ(Size(restored[0], restored[1]), Size(before[0], before[1]));
}

// A missing face with no known fallback: the first family listed that scales and is written horizontally, its name
// cut to fit and terminated.
TEST(LastResortFace, IsAScalableHorizontalFamilyCutToFit) {
    const std::tuple<const wchar_t*, DWORD, std::wstring> families[] = {
        {L"Fixedsys", RASTER_FONTTYPE, L""},
        {L"@SimSun", TRUETYPE_FONTTYPE, L""},
        {L"A family whose name is longer than 31", TRUETYPE_FONTTYPE, L"A family whose name is longer t"},
    };
    for (const auto& [name, type, taken] : families) {
        LOGFONTW font{};
        wcsncpy(font.lfFaceName, name, LF_FACESIZE);  // the long name fills it, unterminated
        wchar_t face[LF_FACESIZE + 1] = {};
        wmemset(face, L'x', LF_FACESIZE);  // the one past the buffer stays 0 if it is terminated
        const bool took = forms::TakeLastResortFace(font, type, reinterpret_cast<wchar_t(&)[LF_FACESIZE]>(face));
        EXPECT_EQ(took ? face : L"", taken) << name;
    }
}

}  // namespace
