// The calculator window moved between monitors: after each WM_DPICHANGED it is
// laid out exactly as a window started at the new resolution, keeps what the
// user entered, frees the old layout's fonts and paints buttons at their new size.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "button_skin/mVistaButton.h"
#include "calculator/form1.h"
#include "forms_runtime/form.h"

namespace {

struct Layout {
    RECT client{};
    std::vector<RECT> controls;  // in the window's client coordinates, in table order
    std::vector<LONG> fontHeights;
};

Layout Measure(const forms::Form& form) {
    Layout layout;
    GetClientRect(form.hWnd(), &layout.client);
    for (const forms::ControlDef& def : form.Definition().controls) {
        HWND control = form.Control(def.name, def.index);
        RECT& place = layout.controls.emplace_back();
        GetWindowRect(control, &place);
        MapWindowPoints(nullptr, form.hWnd(), reinterpret_cast<POINT*>(&place), 2);
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
        layout.fontHeights.push_back(font.lfHeight);
    }
    return layout;
}

void ExpectLaidOutAsStartedAt(const forms::Form& moved, int dpi) {
    forms::Form& fresh = forms::Form::Load(calculator::kForm1, {}, GetModuleHandleW(nullptr), dpi);
    const Layout expected = Measure(fresh);
    DestroyWindow(fresh.hWnd());
    const Layout actual = Measure(moved);
    EXPECT_TRUE(EqualRect(&actual.client, &expected.client)) << "client area at " << dpi;
    for (size_t i = 0; i < expected.controls.size(); ++i) {
        EXPECT_TRUE(EqualRect(&actual.controls[i], &expected.controls[i])) << "place of row " << i << " at " << dpi;
        EXPECT_EQ(actual.fontHeights[i], expected.fontHeights[i]) << "font of row " << i << " at " << dpi;
    }
}

// The normal face at the button's new size, 125 x 38 at 144 DPI (1245 x 375 twips).
void ExpectFaceAtNewSize(HWND button) {
    RECT item{};
    GetClientRect(button, &item);
    ASSERT_TRUE(item.right == 125 && item.bottom == 38) << item.right << " x " << item.bottom;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, CreateCompatibleBitmap(screen, item.right, item.bottom));
    ReleaseDC(nullptr, screen);
    mVistaButton::DrawButton(button, dc, item, 0);
    const struct { int x, y; COLORREF colour; } kPixels[] = {
        {0, 0, GetSysColor(COLOR_BTNFACE)}, {1, 0, RGB(144, 144, 144)},  // top-left corner
        {0, 19, RGB(112, 112, 112)}, {62, 37, RGB(112, 112, 112)},       // outer frame: mid-height, bottom row
        {123, 36, RGB(143, 143, 143)},                                   // inner corner (W - 2, H - 2)
        {3, 29, RGB(216, 216, 216)}, {3, 35, RGB(209, 209, 209)}};       // b = 6: band 5 ends at 29, band 6 at H - 3
    for (const auto& pixel : kPixels) {
        EXPECT_EQ(GetPixel(dc, pixel.x, pixel.y), pixel.colour) << "at " << pixel.x << ", " << pixel.y;
    }
    DeleteObject(SelectObject(dc, old));
    DeleteDC(dc);
}

TEST(WindowDpiChange, LaysOutAsStartedAtEachResolutionAndKeepsItsState) {
    forms::Form& form = forms::Form::Load(calculator::kForm1, calculator::Form1Events(), GetModuleHandleW(nullptr));
    form.Show();
    ExpectLaidOutAsStartedAt(form, form.Dpi());
    form.SetText(L"txtCurPrice", L"12.5");
    SendMessageW(form.Control(L"Option2"), BM_CLICK, 0, 0);
    calculator::Command1_Click();
    const std::wstring limitUp = form.Text(L"txtZTPrice"), limitDown = form.Text(L"txtDTPrice");
    ASSERT_FALSE(limitUp.empty());
    HWND focus = GetFocus();
    ASSERT_EQ(focus, form.Control(L"Option2"));

    for (const int dpi : {144, 120, 96}) {
        SCOPED_TRACE(dpi);
        const auto oldFont = reinterpret_cast<HGDIOBJ>(SendMessageW(form.Control(L"txtCurPrice"), WM_GETFONT, 0, 0));
        RECT suggested{};
        GetWindowRect(form.hWnd(), &suggested);
        OffsetRect(&suggested, 7, 5);
        SendMessageW(form.hWnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        EXPECT_EQ(GetObjectType(oldFont), 0u) << "the old layout's font is freed";
        EXPECT_EQ(form.Dpi(), dpi);
        RECT now{};
        GetWindowRect(form.hWnd(), &now);
        EXPECT_TRUE(now.left == suggested.left && now.top == suggested.top) << "at the suggested top-left";
        ExpectLaidOutAsStartedAt(form, dpi);
        EXPECT_TRUE(form.Text(L"txtCurPrice") == L"12.5" && form.Text(L"txtZTPrice") == limitUp &&
                    form.Text(L"txtDTPrice") == limitDown) << "the texts stay";
        EXPECT_TRUE(form.Value(L"Option2") && GetFocus() == focus) << "the selection and the focus stay";
        if (dpi == 144) ExpectFaceAtNewSize(form.Control(L"cmdGetZT"));
    }
    form.Close();
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {}  // each closed window posts one
}

}  // namespace
