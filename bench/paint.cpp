// Painting in-process: each face of the skin at the window's button size on a
// memory DC, against the platform's push button drawn there; and the GDI
// objects that painting leaves behind, counted as headroom.
//
//   bench_paint RUNS
#include <windows.h>

#include <cwchar>
#include <string>
#include <utility>
#include <vector>

#include "bench/bench.h"
#include "button_skin/mVistaButton.h"
#include "test_support/gdi_headroom.h"

namespace {

constexpr int kWidth = 83, kHeight = 25;  // the window's buttons: 1245 x 375 twips at 96 DPI
constexpr int kBatch = 2000;
const wchar_t* const kCaption = L"取涨停价";

// Microseconds per paint, the median of `runs` batches.
template <typename Paint>
double MicrosecondsPerPaint(int runs, Paint&& paint) {
    for (int i = 0; i < kBatch / 10; ++i)
        paint();  // warm the caches and the font
    std::vector<double> perPaint;
    for (int r = 0; r < runs; ++r) {
        const auto begin = bench::Clock::now();
        for (int i = 0; i < kBatch; ++i)
            paint();
        GdiFlush();
        perPaint.push_back(bench::SecondsSince(begin) * 1e6 / kBatch);
    }
    return bench::Median(perPaint);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int runs = argc > 1 ? _wtoi(argv[1]) : 9;
    // In the screen's colours: a new memory DC's own bitmap is monochrome.
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, kWidth, kHeight);
    ReleaseDC(nullptr, screen);
    SelectObject(dc, bitmap);  // both kept until the process ends
    // The window's font as the buttons get it: 宋体 9 pt.
    HFONT font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"宋体");
    SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);

    const double platform = MicrosecondsPerPaint(runs, [&] {
        RECT item{0, 0, kWidth, kHeight};
        DrawFrameControl(dc, &item, DFC_BUTTON, DFCS_BUTTONPUSH);
        DrawTextW(dc, kCaption, -1, &item, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    });
    using Paint = void (*)(HDC, RECT&, const wchar_t*);
    const std::pair<const char*, Paint> kFaces[] = {{"normal", mVistaButton::DrawNormalFace},
                                                    {"pressed", mVistaButton::DrawPressedFace},
                                                    {"focused", mVistaButton::DrawFocusedFace},
                                                    {"disabled", mVistaButton::DrawDisabledFace}};
    const int before = test_support::GdiHeadroom();
    for (const auto& [name, paint] : kFaces) {
        for (int i = 0; i < 1000; ++i) {
            RECT item{0, 0, kWidth, kHeight};
            paint(dc, item, kCaption);
        }
    }
    const int after = test_support::GdiHeadroom();
    for (const auto& [name, face] : kFaces) {
        const auto paint = face;  // not every compiler lets a lambda capture a structured binding
        const double us = MicrosecondsPerPaint(runs, [&] {
            RECT item{0, 0, kWidth, kHeight};
            paint(dc, item, kCaption);
        });
        bench::Row(std::string("Paint the ") + name + " face, 83 x 25, memory DC", us, platform, "us",
                   "platform push button, DrawFrameControl + DrawTextW",
                   std::to_string(runs) + " x " + std::to_string(kBatch));
    }
    bench::Row("GDI headroom after 1000 paints of each face (brushes still creatable; GetGuiResources is 0 under Wine)",
               after, before, "brushes", "before them", "1");

    return 0;
}
