// The window keeps its layout at other resolutions: sizes are defined in
// twips and turned into pixels with the display's real DPI. Each resolution
// runs in a child process of its own, started after the display setting is
// changed, since a process reads the setting when it starts.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "calculator/form1.h"
#include "forms_runtime/form.h"
#include "window_harness.h"

namespace {

constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";

// Sets the display resolution for processes started from now on; restores
// the previous setting when it goes.
class DisplayDpi {
public:
    explicit DisplayDpi(DWORD dpi) {
        RegCreateKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
        DWORD size = sizeof previous_;
        had_ = RegQueryValueExW(key_, L"LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&previous_), &size) ==
               ERROR_SUCCESS;
        RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
    }
    ~DisplayDpi() {
        if (had_) {
            RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&previous_), sizeof previous_);
        } else {
            RegDeleteValueW(key_, L"LogPixels");
        }
        RegCloseKey(key_);
    }
    DisplayDpi(const DisplayDpi&) = delete;
    DisplayDpi& operator=(const DisplayDpi&) = delete;

private:
    HKEY key_ = nullptr;
    DWORD previous_ = 0;
    bool had_ = false;
};

struct Geometry {
    int dpi = 0, clientWidth = 0, clientHeight = 0;
    int priceLeft = 0, priceTop = 0, priceWidth = 0, priceHeight = 0;
    int buttonLeft = 0, buttonTop = 0, buttonWidth = 0, buttonHeight = 0;
    int priceFont = 0;
};

std::string RunChild() {
    harness::ChildProcess child(L"--dpi-child");
    return child.ReadOutput();
}

Geometry Parse(const std::string& text) {
    Geometry g;
    std::sscanf(text.c_str(), "%d %d %d %d %d %d %d %d %d %d %d %d", &g.dpi, &g.clientWidth, &g.clientHeight,
                &g.priceLeft, &g.priceTop, &g.priceWidth, &g.priceHeight, &g.buttonLeft, &g.buttonTop,
                &g.buttonWidth, &g.buttonHeight, &g.priceFont);
    return g;
}

int Scaled(int pixelsAt96, int dpi) { return MulDiv(pixelsAt96 * 15, dpi, 1440); }

class WindowDpi : public ::testing::TestWithParam<int> {};

TEST_P(WindowDpi, LayoutScalesWithTheDisplayResolution) {
    const int dpi = GetParam();
    std::string output;
    {
        DisplayDpi setting(static_cast<DWORD>(dpi));
        output = RunChild();
    }
    const Geometry g = Parse(output);
    ASSERT_EQ(g.dpi, dpi) << "child said: " << output;
    EXPECT_EQ(g.clientWidth, Scaled(484, dpi));
    EXPECT_EQ(g.clientHeight, Scaled(277, dpi));
    EXPECT_EQ(g.priceLeft, Scaled(100, dpi));
    EXPECT_EQ(g.priceTop, Scaled(26, dpi));
    EXPECT_EQ(g.priceWidth, Scaled(111, dpi));
    EXPECT_EQ(g.priceHeight, Scaled(23, dpi));
    EXPECT_EQ(g.buttonLeft, Scaled(185, dpi));
    EXPECT_EQ(g.buttonTop, Scaled(124, dpi));
    EXPECT_EQ(g.buttonWidth, Scaled(117, dpi));
    EXPECT_EQ(g.buttonHeight, Scaled(25, dpi));
    EXPECT_EQ(g.priceFont, -MulDiv(105, dpi, 720)) << "10.5 points";
}

INSTANTIATE_TEST_SUITE_P(Resolutions, WindowDpi, ::testing::Values(96, 120, 144));

}  // namespace

// The child: loads the window at the resolution it started with and reports
// its geometry on its standard output.
int RunDpiChild() {
    forms::Form& form = forms::Form::Load(calculator::kForm1, calculator::Form1Events(), GetModuleHandleW(nullptr));
    HWND window = form.hWnd();
    RECT client;
    GetClientRect(window, &client);
    auto place = [window](HWND control) {
        RECT r;
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    const RECT price = place(form.Control(L"txtCurPrice"));
    const RECT button = place(form.Control(L"Command1"));
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(form.Control(L"txtCurPrice"), WM_GETFONT, 0, 0)), sizeof font,
               &font);
    char line[256];
    const int n = std::snprintf(line, sizeof line, "%d %ld %ld %ld %ld %ld %ld %ld %ld %ld %ld %ld\n", form.Dpi(),
                                client.right, client.bottom, price.left, price.top, price.right - price.left,
                                price.bottom - price.top, button.left, button.top, button.right - button.left,
                                button.bottom - button.top, font.lfHeight);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line, static_cast<DWORD>(n), &written, nullptr);
    DestroyWindow(window);
    return 0;
}
