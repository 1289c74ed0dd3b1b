// Painting, in-process: the four faces of the skin on a memory DC at the
// buttons' size, against the platform's own push button drawn there; and a
// full repaint of the real calculator window with its skin, against the same
// window whose command buttons the platform draws. Also the GDI objects the
// window holds, counted as headroom (see GdiHeadroom).
//
//   bench_paint RUNS
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "bench/report.h"
#include "button_skin/mVistaButton.h"
#include "calculator/form1.h"

namespace {

using bench::Clock;
using bench::Figure;
using bench::Median;
using bench::Ratio;
using bench::Row;

constexpr int kButtonWidth = 83;  // 1245 x 375 twips at 96 DPI
constexpr int kButtonHeight = 25;

// The window's font as the buttons get it: 宋体 9 pt, GB2312.
HFONT WindowFont() {
    return CreateFontW(-MulDiv(9, 96, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"宋体");
}

// Microseconds per call of paint, the median of `runs` batches.
template <typename Paint>
double MicrosecondsPerPaint(int runs, int batch, Paint&& paint) {
    for (int i = 0; i < batch / 10; ++i) paint();  // warm the caches and the font
    GdiFlush();
    std::vector<double> perCall;
    for (int r = 0; r < runs; ++r) {
        const auto begin = Clock::now();
        for (int i = 0; i < batch; ++i) paint();
        GdiFlush();
        perCall.push_back(bench::SecondsSince(begin) * 1e6 / batch);
    }
    return Median(perCall);
}

void Faces(int runs) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kButtonWidth;
    info.bmiHeader.biHeight = -kButtonHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HFONT font = WindowFont();
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    const wchar_t* caption = L"取涨停价";

    // The platform's push button on the same DC: frame, face and caption.
    const double platform = MicrosecondsPerPaint(runs, 2000, [&] {
        RECT item{0, 0, kButtonWidth, kButtonHeight};
        DrawFrameControl(dc, &item, DFC_BUTTON, DFCS_BUTTONPUSH);
        DrawTextW(dc, caption, -1, &item, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    });

    using Paint = void (*)(HDC, RECT&, const wchar_t*);
    const struct {
        const char* name;
        Paint paint;
    } kFaces[] = {{"normal", mVistaButton::DrawNormalFace},
                  {"pressed", mVistaButton::DrawPressedFace},
                  {"focused", mVistaButton::DrawFocusedFace},
                  {"disabled", mVistaButton::DrawDisabledFace}};
    const std::string runText = std::to_string(runs) + " x 2000";
    for (const auto& face : kFaces) {
        const double us = MicrosecondsPerPaint(runs, 2000, [&] {
            RECT item{0, 0, kButtonWidth, kButtonHeight};
            face.paint(dc, item, caption);
        });
        Row(std::string("Paint the ") + face.name + " face, 83 x 25, memory DC", Figure(us, "us"),
            Figure(platform, "us") + " (platform push button, DrawFrameControl + DrawText)", Ratio(us, platform),
            runText);
    }

    SelectObject(dc, oldFont);
    DeleteObject(font);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;  // the quit of a window we destroyed
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Pumps until the condition holds, at most `seconds`.
template <typename Condition>
bool PumpUntil(Condition&& condition, double seconds = 10.0) {
    const auto begin = Clock::now();
    while (!condition()) {
        if (bench::SecondsSince(begin) > seconds) return false;
        Pump();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return true;
}

// How many more brushes this process can create. GetGuiResources answers 0
// under Wine, so the objects a window holds are counted as the headroom it
// takes away. Capped, in case a platform has no limit short of memory.
int GdiHeadroom() {
    constexpr int kCap = 200000;
    std::vector<HBRUSH> brushes;
    brushes.reserve(kCap);
    while (static_cast<int>(brushes.size()) < kCap) {
        HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
        if (brush == nullptr) break;
        brushes.push_back(brush);
    }
    for (HBRUSH brush : brushes) DeleteObject(brush);
    return static_cast<int>(brushes.size());
}

// The calculator's definition with its command buttons left to the
// platform: no owner drawing, and no events (so no skin hook).
struct PlainDefinition {
    std::vector<forms::ControlDef> controls;
    forms::FormDef def;
    PlainDefinition() : def(calculator::kForm1) {
        controls.assign(calculator::kForm1.controls.begin(), calculator::kForm1.controls.end());
        for (auto& control : controls) control.flags &= ~static_cast<unsigned>(forms::kOwnerDraw);
        def.controls = controls;
    }
};

struct Shown {
    HWND hwnd = nullptr;
    explicit Shown(const forms::FormDef& def, std::span<const forms::EventBinding> events) {
        forms::Form& form = forms::Form::Load(def, events, GetModuleHandleW(nullptr));
        form.Show();
        hwnd = form.hWnd();
        PumpUntil([&] { return IsWindowVisible(hwnd) != FALSE; });
        UpdateWindow(hwnd);
        Pump();
    }
    ~Shown() {
        DestroyWindow(hwnd);
        Pump();
    }
    Shown(const Shown&) = delete;
    Shown& operator=(const Shown&) = delete;
    Shown(Shown&&) = delete;
    Shown& operator=(Shown&&) = delete;
};

double MillisecondsPerRepaint(HWND hwnd, int repaints) {
    const auto begin = Clock::now();
    for (int i = 0; i < repaints; ++i) {
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    GdiFlush();
    return bench::SecondsSince(begin) * 1000.0 / repaints;
}

void Window(int runs) {
    const PlainDefinition plain;
    constexpr int kRepaints = 100;

    // The first window of a process makes objects that the process keeps
    // (the window class, cached fonts and DCs): one of each kind first, so
    // that the counts below are of the window alone.
    { Shown warm(calculator::kForm1, calculator::Form1Events()); }
    { Shown warm(plain.def, {}); }

    // GDI objects: the headroom before, with each window shown, after its
    // repaints, and after it has gone.
    const int before = GdiHeadroom();
    int skinHeld = 0, plainHeld = 0, skinGained = 0, skinLeft = 0, plainLeft = 0;

    // Alternating, so that a busy stretch of the machine hits both alike.
    std::vector<double> skin, platform;
    for (int r = 0; r < runs; ++r) {
        {
            Shown window(calculator::kForm1, calculator::Form1Events());
            if (r == 0) skinHeld = before - GdiHeadroom();
            skin.push_back(MillisecondsPerRepaint(window.hwnd, kRepaints));
            if (r == 0) skinGained = before - GdiHeadroom() - skinHeld;
        }
        if (r == 0) skinLeft = before - GdiHeadroom();
        {
            Shown window(plain.def, {});
            if (r == 0) plainHeld = before - GdiHeadroom();
            platform.push_back(MillisecondsPerRepaint(window.hwnd, kRepaints));
        }
        if (r == 0) plainLeft = before - GdiHeadroom();
    }
    const std::string runText = std::to_string(runs) + " x " + std::to_string(kRepaints);
    Row("Full repaint of the window (RedrawWindow, all children, update now)", Figure(Median(skin), "ms"),
        Figure(Median(platform), "ms") + " (same window, buttons drawn by the platform)",
        Ratio(Median(skin), Median(platform)), runText);
    Row("GDI objects the shown window holds (brushes it can no longer create; GetGuiResources is 0 under Wine)",
        std::to_string(skinHeld), std::to_string(plainHeld) + " (buttons drawn by the platform)",
        plainHeld > 0 ? Ratio(skinHeld, plainHeld) : "-", "1");
    Row("GDI objects gained over " + std::to_string(kRepaints) + " repaints / left after the window closed",
        std::to_string(skinGained) + " / " + std::to_string(skinLeft),
        "- / " + std::to_string(plainLeft) + " (buttons drawn by the platform)", "-", "1");
    bench::Note("GDI headroom of the process with no window: %d brushes", before);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    bench::BinaryOutput();
    const int runs = argc > 1 ? _wtoi(argv[1]) : 7;
    Faces(runs);
    Window(runs);
    return 0;
}
