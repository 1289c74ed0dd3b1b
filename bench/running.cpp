// The running program, driven from another process as the end-to-end tests
// drive it: start-up until its three buttons show their faces, and the memory
// it then holds, each against the minimal program; then hostile input, each
// against the same operation on short input.
//
//   bench_running START-RUNS INPUT-RUNS   (beside Tavirel.exe and bench_minimal.exe)
#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "bench/bench.h"
#include "button_skin/mVistaButton.h"
#include "test_support/driver.h"
#include "test_support/picture.h"

namespace {

using bench::Median;
using driver::Program;

constexpr int kStrip = 6;  // columns at a button's left edge, clear of the caption

// The left strips of the four faces at a button's size, painted here by the
// skin's own routines; kept for the last size asked.
const std::vector<std::vector<COLORREF>>& FaceStrips(int width, int height) {
    static std::vector<std::vector<COLORREF>> strips;
    static SIZE painted{};
    if (painted.cx == width && painted.cy == height)
        return strips;
    painted = {width, height};
    strips.clear();
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, CreateCompatibleBitmap(screen, width, height));
    for (auto paint : {mVistaButton::DrawNormalFace, mVistaButton::DrawPressedFace, mVistaButton::DrawFocusedFace,
                       mVistaButton::DrawDisabledFace}) {
        RECT item{0, 0, width, height};
        paint(dc, item, L"");
        auto& strip = strips.emplace_back();
        for (int i = 0; i < kStrip * height; ++i)
            strip.push_back(GetPixel(dc, i % kStrip, i / kStrip));
    }
    DeleteObject(SelectObject(dc, old));
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return strips;
}

// Whether each of the three command buttons shows a face on screen.
bool ButtonsPainted(const Program& program) {
    for (const driver::Id id : {driver::cmdGetZT, driver::cmdGetDT, driver::Command1}) {
        const test_support::Picture shown(program[id]);
        bool matched = false;
        for (const auto& strip : FaceStrips(shown.width, shown.height)) {
            bool same = shown.width > kStrip;
            for (int i = 0; same && i < kStrip * shown.height; ++i)
                same = shown(i % kStrip, i / kStrip) == strip[i];
            matched = matched || same;
        }
        if (!matched)
            return false;
    }
    return true;
}

COLORREF ScreenPixel(POINT at) {
    HDC screen = GetDC(nullptr);
    const COLORREF pixel = GetPixel(screen, at.x, at.y);
    ReleaseDC(nullptr, screen);
    return pixel;
}

// The minimal program's client area in the window colour at its corners and
// centre (a whole screenshot per poll would take longer than its paint).
bool ClientPainted(const Program& program) {
    RECT r{};
    GetClientRect(program.Window(), &r);
    MapWindowPoints(program.Window(), nullptr, reinterpret_cast<POINT*>(&r), 2);
    for (const POINT at : {POINT{r.left, r.top}, POINT{r.right - 1, r.top}, POINT{r.left, r.bottom - 1},
                           POINT{r.right - 1, r.bottom - 1}, POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}}) {
        if (ScreenPixel(at) != GetSysColor(COLOR_BTNFACE))
            return false;
    }
    return true;
}

// One start, timed from before CreateProcess until painted, and the memory
// then held: milliseconds, private MiB and working set MiB onto `figures`.
bool StartOnce(const std::wstring& path, bool isProgram, std::vector<double> (&figures)[3]) {
    SetEnvironmentVariableW(L"TAVIREL_EXE", path.c_str());  // what the driver starts
    Program program;
    const auto begin = bench::Clock::now();
    if (!program.Start() ||
        !driver::WaitUntil([&] { return isProgram ? ButtonsPainted(program) : ClientPainted(program); }, 20000)) {
        std::fprintf(stderr, "%ls did not show a painted window\n", path.c_str());
        return false;
    }
    figures[0].push_back(bench::SecondsSince(begin) * 1000);
    PROCESS_MEMORY_COUNTERS_EX memory{};
    GetProcessMemoryInfo(program.Process(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
    // Wine leaves PrivateUsage 0; PagefileUsage is the same figure on Windows.
    figures[1].push_back(static_cast<double>(memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage) /
                         1048576);
    figures[2].push_back(static_cast<double>(memory.WorkingSetSize) / 1048576);
    // A window mapped where the last one was would show its leftover
    // picture at once: wait until that has left the screen.
    RECT r{};
    GetWindowRect(isProgram ? program[driver::Command1] : program.Window(), &r);
    const POINT watched{r.left + 1, (r.top + r.bottom) / 2};
    const COLORREF shown = ScreenPixel(watched);
    program.Close();
    driver::WaitUntil([&] { return ScreenPixel(watched) != shown; }, 2000);
    return true;
}

void HostileInput(const Program& program, int runs) {
    // The median of `n` timed actions, each after an untimed preparation.
    auto medianMs = [](int n, auto&& prepare, auto&& act) {
        std::vector<double> ms;
        for (int i = 0; i < n; ++i) {
            prepare();
            const auto begin = bench::Clock::now();
            act();
            ms.push_back(bench::SecondsSince(begin) * 1000);
        }
        return Median(ms);
    };
    const std::wstring big(32767, L'7');
    const int bigRuns = runs / 2 + 1;  // a long paste takes a second or more under Wine
    for (const auto& [target, what] :
         {std::pair{driver::txtCurPrice, "the price box (WM_SETTEXT from another process)"},
          std::pair{driver::txtZTPrice, "a result box (its Change guard reads them)"}}) {
        const driver::Id box = target;  // not every compiler lets a lambda capture a structured binding
        auto paste = [&](const std::wstring& text, int n) {
            return medianMs(
                n, [&] { program.SetText(box, L""); }, [&] { program.SetText(box, text); });
        };
        const double bigMs = paste(big, bigRuns);
        if (program.Text(box) != big)
            std::fprintf(stderr, "the box did not keep the 32,767 digits\n");
        bench::Row(std::string("Paste 32,767 digits into ") + what, bigMs, paste(L"12.50", runs), "ms", "5 characters",
                   std::to_string(bigRuns) + " (baseline " + std::to_string(runs) + ")");
    }

    // 计算 takes a click as a button does; timed until a result shows.
    auto calculate = [&](const std::wstring& price) {
        return medianMs(
            runs,
            [&] {
                program.SetText(driver::txtCurPrice, price);
                program.SetText(driver::txtZTPrice, L"");
            },
            [&] {
                SendMessageW(program[driver::Command1], BM_CLICK, 0, 0);
                if (!driver::WaitUntil([&] { return !program.Text(driver::txtZTPrice).empty(); })) {
                    std::fprintf(stderr, "no result after a calculation\n");
                }
            });
    };
    std::wstring longPrice = L"12.";
    for (int i = 0; longPrice.size() < 401; ++i)
        longPrice += static_cast<wchar_t>(L'0' + (i + 3) % 10);
    bench::Row("Calculate with a 400-digit price (12.345...), BM_CLICK until the result shows", calculate(longPrice),
               calculate(L"12.1"), "ms", "12.1", std::to_string(runs));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int startRuns = argc > 1 ? _wtoi(argv[1]) : 9;
    const int inputRuns = argc > 2 ? _wtoi(argv[2]) : 9;
    wchar_t own[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, own, MAX_PATH);
    const std::wstring folder(own, std::wcsrchr(own, L'\\') + 1);

    // Alternating, so that a slow stretch of the machine hits both alike.
    std::vector<double> program[3], minimal[3];
    for (int i = 0; i < startRuns; ++i) {
        if (!StartOnce(folder + L"Tavirel.exe", true, program) ||
            !StartOnce(folder + L"bench_minimal.exe", false, minimal)) {
            return 1;
        }
    }
    const char* const kWhat[] = {"Start-up: process created to window shown, three buttons painted",
                                 "Private bytes once shown (PrivateUsage, which Wine leaves 0, so PagefileUsage)",
                                 "Working set once shown"};
    for (int k = 0; k < 3; ++k) {
        bench::Row(kWhat[k], Median(program[k]), Median(minimal[k]), k ? "MiB" : "ms",
                   "minimal program, one empty window", std::to_string(startRuns));
    }

    SetEnvironmentVariableW(L"TAVIREL_EXE", (folder + L"Tavirel.exe").c_str());
    Program running;
    if (!running.Start())
        return 1;
    HostileInput(running, inputRuns);
    running.Close();
    return 0;
}
