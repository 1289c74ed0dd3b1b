// The calculator window as built from its definition: every control's kind,
// container, place, size, caption, font and colour, and the window's own.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "window_harness.h"

namespace {

struct Expected {
    const wchar_t* name;
    int index;
    const wchar_t* windowClass;
    const wchar_t* parent;  // nullptr: the window itself
    int x, y, width, height;  // in the window's client area, pixels at 96 DPI
    const wchar_t* caption;
    int fontHeight;  // LOGFONT height: -14 is 10.5 pt, -12 is 9 pt at 96 DPI
    std::optional<COLORREF> back;  // none: the system button-face colour
};

// clang-format off
const Expected kControls[] = {
    {L"Frame1",      -1, L"TavirelFrame", nullptr,  4,   0,   477, 109, L"",                 -12, {}},
    {L"Label1",      -1, L"Static",       L"Frame1", 28,  30,  72,  13,  L"当前收盘价：",     -12, {}},
    {L"txtCurPrice", -1, L"Edit",         L"Frame1", 100, 26,  111, 23,  L"",                 -14, RGB(192, 192, 255)},
    {L"Option1",     -1, L"Button",       L"Frame1", 96,  64,  83,  31,  L"10% 幅度",         -12, {}},
    {L"Option2",     -1, L"Button",       L"Frame1", 224, 64,  83,  31,  L"5% 幅度",          -12, {}},
    {L"Command1",    -1, L"Button",       nullptr,  185, 124, 117, 25,  L"计算",             -12, {}},
    {L"Frame2",      -1, L"TavirelFrame", nullptr,  4,   164, 477, 109, L"双击鼠标复制结果", -12, {}},
    {L"Label2",       0, L"Static",       L"Frame2", 32,  192, 48,  13,  L"涨停价：",         -12, {}},
    {L"txtZTPrice",  -1, L"Edit",         L"Frame2", 84,  188, 107, 23,  L"",                 -14, RGB(255, 128, 128)},
    {L"Label2",       1, L"Static",       L"Frame2", 262, 192, 48,  13,  L"跌停价：",         -12, {}},
    {L"txtDTPrice",  -1, L"Edit",         L"Frame2", 314, 188, 107, 23,  L"",                 -14, RGB(128, 255, 128)},
    {L"cmdGetZT",    -1, L"Button",       nullptr,  92,  224, 83,  25,  L"取涨停价",         -12, {}},
    {L"cmdGetDT",    -1, L"Button",       nullptr,  326, 224, 83,  25,  L"取跌停价",         -12, {}},
};
// clang-format on

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

std::wstring TextOf(HWND hwnd) {
    wchar_t text[256] = {};
    GetWindowTextW(hwnd, text, 256);
    return text;
}

COLORREF BrushColour(HBRUSH brush) {
    LOGBRUSH logBrush{};
    GetObjectW(brush, sizeof logBrush, &logBrush);
    return logBrush.lbColor;
}

// The colour a control is painted on, as its parent answers the control's
// colour request.
COLORREF BackColourOf(HWND control) {
    const std::wstring cls = ClassOf(control);
    if (cls == L"TavirelFrame") {
        return GetSysColor(static_cast<int>(GetClassLongPtrW(control, GCLP_HBRBACKGROUND)) - 1);
    }
    const UINT request = cls == L"Edit" ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC;
    HDC dc = CreateCompatibleDC(nullptr);
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(GetParent(control), request, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
    const COLORREF painted = GetBkColor(dc);
    DeleteDC(dc);
    EXPECT_EQ(BrushColour(brush), painted) << "text background and brush differ";
    return BrushColour(brush);
}

int LineHeight(HWND control) {
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return metrics.tmHeight;
}

class WindowLayout : public ::testing::Test {
protected:
    harness::Form1Session session;
};

TEST_F(WindowLayout, RunsAtTheResolutionTheLayoutIsCheckedAt) {
    ASSERT_EQ(session.form().Dpi(), 96) << "the pixel figures below are for 96 DPI";
}

TEST_F(WindowLayout, EveryControlHasItsKindContainerPlaceCaptionFontAndColour) {
    HWND window = session.form().hWnd();
    for (const Expected& e : kControls) {
        SCOPED_TRACE(testing::Message() << "control " << std::string(e.name, e.name + wcslen(e.name)) << " "
                                        << e.index);
        HWND control = session.Control(e.name, e.index);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(ClassOf(control), e.windowClass);
        HWND expectedParent = e.parent ? session.Control(e.parent) : window;
        EXPECT_EQ(GetParent(control), expectedParent);

        RECT r;
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, e.x);
        EXPECT_EQ(r.top, e.y);
        EXPECT_EQ(r.right - r.left, e.width);
        if (ClassOf(control) == L"Static") {
            // A label is as high as a line of its font: 13 pixels in 宋体,
            // more in the CJK font that stands in for it where it is missing.
            EXPECT_EQ(r.bottom - r.top, LineHeight(control));
        } else {
            EXPECT_EQ(r.bottom - r.top, e.height);
        }
        EXPECT_EQ(TextOf(control), e.caption);

        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
        EXPECT_EQ(font.lfHeight, e.fontHeight);
        EXPECT_EQ(font.lfWeight, FW_NORMAL);
        EXPECT_FALSE(font.lfItalic || font.lfUnderline || font.lfStrikeOut);

        if (ClassOf(control) != L"Button" || (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) != BS_OWNERDRAW) {
            EXPECT_EQ(BackColourOf(control), e.back.value_or(GetSysColor(COLOR_BTNFACE)));
        }
    }
}

TEST_F(WindowLayout, WindowFontHasFullWidthCharactersTwelvePixelsWide) {
    HWND label = session.Control(L"Label1");
    HDC dc = GetDC(label);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
    SIZE extent{};
    GetTextExtentPoint32W(dc, L"当前收盘价：", 6, &extent);
    SelectObject(dc, old);
    ReleaseDC(label, dc);
    EXPECT_EQ(extent.cx, 72);
}

TEST_F(WindowLayout, TextBoxesAreSingleLineEditableAndUnlimited) {
    for (const wchar_t* name : {L"txtCurPrice", L"txtZTPrice", L"txtDTPrice"}) {
        HWND box = session.Control(name);
        const LONG style = GetWindowLongW(box, GWL_STYLE);
        EXPECT_FALSE(style & (ES_MULTILINE | ES_READONLY | ES_RIGHT | ES_CENTER));
        EXPECT_TRUE(GetWindowLongW(box, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
        EXPECT_GT(SendMessageW(box, EM_GETLIMITTEXT, 0, 0), 32767) << "the typing limit must be lifted";
    }
}

TEST_F(WindowLayout, CommandButtonsAreOwnerDrawnChildrenOfTheWindowAboveTheLowerFrame) {
    HWND window = session.form().hWnd();
    for (const wchar_t* name : {L"Command1", L"cmdGetZT", L"cmdGetDT"}) {
        HWND button = session.Control(name);
        EXPECT_EQ(GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
        EXPECT_EQ(GetParent(button), window);
    }
    // Top of the z-order down: cmdGetZT, cmdGetDT, Frame2, Command1, Frame1.
    HWND expected[] = {session.Control(L"cmdGetZT"), session.Control(L"cmdGetDT"), session.Control(L"Frame2"),
                       session.Control(L"Command1"), session.Control(L"Frame1")};
    HWND child = GetWindow(window, GW_CHILD);
    for (HWND e : expected) {
        EXPECT_EQ(child, e);
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr);
}

TEST_F(WindowLayout, WindowHasItsCaptionClientSizeIconAndAFixedBorder) {
    HWND window = session.form().hWnd();
    EXPECT_EQ(TextOf(window), L"Tavirel v1.0");
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 484);
    EXPECT_EQ(client.bottom, 277);
    EXPECT_NE(SendMessageW(window, WM_GETICON, ICON_BIG, 0), 0);

    const LONG style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_TRUE(style & WS_SYSMENU) << "the user must be able to close it";
    // The edges answer as a plain border, never as a sizing edge.
    RECT frame;
    GetWindowRect(window, &frame);
    const POINT edges[] = {{frame.left, (frame.top + frame.bottom) / 2},
                           {frame.right - 1, (frame.top + frame.bottom) / 2},
                           {(frame.left + frame.right) / 2, frame.bottom - 1},
                           {frame.right - 1, frame.bottom - 1}};
    for (POINT p : edges) {
        const LRESULT hit = SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
        EXPECT_TRUE(hit < HTSIZEFIRST || hit > HTSIZELAST) << "hit " << hit;
    }
}

TEST_F(WindowLayout, WindowIsCentredOnTheScreen) {
    RECT frame;
    GetWindowRect(session.form().hWnd(), &frame);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromWindow(session.form().hWnd(), MONITOR_DEFAULTTOPRIMARY), &info);
    const RECT& screen = info.rcMonitor;
    EXPECT_LE(std::abs((frame.left - screen.left) - (screen.right - frame.right)), 1);
    EXPECT_LE(std::abs((frame.top - screen.top) - (screen.bottom - frame.bottom)), 1);
}

}  // namespace
