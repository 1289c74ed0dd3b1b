// Starts the program and the minimal baseline program as separate processes,
// watches the screen until each has shown its window (the program: with its
// three buttons painted in their faces), reads their private bytes, and then
// times hostile input sent into the running program.
//
//   bench_driver TAVIREL.EXE MINIMAL.EXE START-RUNS INPUT-RUNS
//
// Prints rows of the bench table on standard output, notes on standard error.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "bench/report.h"
#include "bench/screen_faces.h"

namespace {

using bench::Clock;
using bench::Figure;
using bench::Median;
using bench::Ratio;
using bench::Row;

constexpr double kStartTimeout = 30.0;  // seconds for a window to appear and paint
constexpr double kCloseTimeout = 10.0;

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

// What the enumeration callbacks below fill in; one search at a time.
struct WindowSearch {
    DWORD process = 0;
    const wchar_t* windowClass = nullptr;
    HWND found = nullptr;
    std::vector<HWND> all;
};
WindowSearch g_search;

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM) {
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner == g_search.process && IsWindowVisible(hwnd) &&
        _wcsicmp(ClassOf(hwnd).c_str(), g_search.windowClass) == 0) {
        g_search.found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// The visible top-level window of that class that the process owns, or null.
HWND WindowOf(DWORD process, const wchar_t* windowClass) {
    g_search = WindowSearch{process, windowClass, nullptr, {}};
    EnumWindows(MatchWindow, 0);
    return g_search.found;
}

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM) {
    g_search.all.push_back(hwnd);
    return TRUE;
}

std::vector<HWND> Descendants(HWND parent) {
    g_search.all.clear();
    EnumChildWindows(parent, CollectWindow, 0);
    return std::move(g_search.all);
}

RECT ClientOnScreen(HWND hwnd) {
    RECT client{};
    GetClientRect(hwnd, &client);
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return client;
}

// What a started program must show before it counts as started.
struct Readiness {
    const wchar_t* windowClass;
    // Given the window and a shot of its client area, whether it is painted.
    std::function<bool(HWND, const bench::ScreenShot&, const RECT&)> painted;
};

// The program: its three owner-drawn buttons each show a face of the skin.
bool ButtonsPainted(HWND window, const bench::ScreenShot& shot, const RECT& client) {
    static std::map<std::pair<int, int>, std::unique_ptr<bench::FaceMatcher>> matchers;
    int buttons = 0;
    for (HWND child : Descendants(window)) {
        if (_wcsicmp(ClassOf(child).c_str(), L"Button") != 0) continue;
        if ((GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK) != BS_OWNERDRAW) continue;
        RECT r{};
        GetWindowRect(child, &r);
        const auto size = std::make_pair(static_cast<int>(r.right - r.left), static_cast<int>(r.bottom - r.top));
        auto& matcher = matchers[size];
        if (!matcher) matcher = std::make_unique<bench::FaceMatcher>(size.first, size.second);
        if (!matcher->Matches(shot, r.left - client.left, r.top - client.top)) return false;
        ++buttons;
    }
    return buttons == 3;
}

// The baseline: its whole client area in the window colour.
bool ClientPainted(HWND, const bench::ScreenShot& shot, const RECT&) {
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    for (int y = 0; y < shot.Height(); ++y) {
        for (int x = 0; x < shot.Width(); ++x) {
            if (shot.At(x, y) != face) return false;
        }
    }
    return shot.Width() > 0;
}

struct Running {
    PROCESS_INFORMATION process{};
    HWND window = nullptr;
    RECT client{};
    double seconds = 0;      // from CreateProcess to shown and painted
    double privateBytes = 0;  // right then
    double workingSet = 0;
    double visibleAfter = 0;  // when the window was first seen visible
    std::shared_ptr<bench::ScreenShot> picture;  // the client area as it was then
};

std::wstring Directory(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L"." : path.substr(0, slash);
}

bool Start(const std::wstring& program, const Readiness& ready, Running& run) {
    std::wstring commandLine = L"\"" + program + L"\"";
    const std::wstring directory = Directory(program);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    const auto begin = Clock::now();
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(),
                        &startup, &run.process)) {
        bench::Note("cannot start %ls (error %lu)", program.c_str(), GetLastError());
        return false;
    }
    while (bench::SecondsSince(begin) < kStartTimeout) {
        if (WaitForSingleObject(run.process.hProcess, 0) == WAIT_OBJECT_0) {
            bench::Note("%ls ended before showing its window", program.c_str());
            return false;
        }
        HWND window = WindowOf(run.process.dwProcessId, ready.windowClass);
        if (window != nullptr && run.visibleAfter == 0) run.visibleAfter = bench::SecondsSince(begin);
        if (window != nullptr) {
            const RECT client = ClientOnScreen(window);
            const bench::ScreenShot shot(client);
            if (ready.painted(window, shot, client)) {
                run.seconds = bench::SecondsSince(begin);
                run.window = window;
                run.client = client;
                run.picture = std::make_shared<bench::ScreenShot>(shot);
                PROCESS_MEMORY_COUNTERS_EX memory{};
                memory.cb = sizeof memory;
                if (GetProcessMemoryInfo(run.process.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                                         sizeof memory)) {
                    // Wine leaves PrivateUsage 0; PagefileUsage is the
                    // same figure on Windows (private committed bytes).
                    run.privateBytes = static_cast<double>(memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage);
                    run.workingSet = static_cast<double>(memory.WorkingSetSize);
                }
                return true;
            }
        }
        // Poll again in a millisecond: the figure's resolution.
        WaitForSingleObject(run.process.hProcess, 1);
    }
    bench::Note("%ls did not show a painted window within %.0f s", program.c_str(), kStartTimeout);
    return false;
}

// Closes the window as the user would, waits for the process to end, and
// then for its picture to leave the screen, so that the next start is not
// judged on what this one left there.
void Stop(Running& run) {
    if (run.window) PostMessageW(run.window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(run.process.hProcess, static_cast<DWORD>(kCloseTimeout * 1000)) != WAIT_OBJECT_0) {
        bench::Note("the program did not close; ending it");
        TerminateProcess(run.process.hProcess, 1);
        WaitForSingleObject(run.process.hProcess, INFINITE);
    }
    CloseHandle(run.process.hThread);
    CloseHandle(run.process.hProcess);
    if (run.picture) {
        const auto begin = Clock::now();
        while (bench::SecondsSince(begin) < kCloseTimeout && bench::ScreenShot(run.client) == *run.picture) Sleep(1);
    }
    run = Running{};
}

// --- Hostile input into the running program --------------------------------

struct Controls {
    HWND form = nullptr;
    HWND price = nullptr;      // the closing price box
    HWND limitUp = nullptr;    // the limit-up result box (left)
    HWND limitDown = nullptr;  // the limit-down result box (right)
    HWND calculate = nullptr;  // the button captioned 计算
};

// Found as a person sees them: the price box is the topmost text box, the
// two result boxes lie below it, limit-up on the left; 计算 is its caption.
Controls FindControls(HWND form) {
    Controls found;
    found.form = form;
    std::vector<std::pair<RECT, HWND>> edits;
    for (HWND child : Descendants(form)) {
        const std::wstring cls = ClassOf(child);
        RECT r{};
        GetWindowRect(child, &r);
        if (_wcsicmp(cls.c_str(), L"Edit") == 0) edits.emplace_back(r, child);
        if (_wcsicmp(cls.c_str(), L"Button") == 0 && TextOf(child) == L"计算") found.calculate = child;
    }
    if (edits.size() != 3) return found;
    std::sort(edits.begin(), edits.end(), [](const auto& a, const auto& b) { return a.first.top < b.first.top; });
    found.price = edits[0].second;
    const bool firstLeft = edits[1].first.left < edits[2].first.left;
    found.limitUp = firstLeft ? edits[1].second : edits[2].second;
    found.limitDown = firstLeft ? edits[2].second : edits[1].second;
    return found;
}

std::wstring Text(HWND hwnd) {
    const auto length = SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const auto copied = SendMessageW(hwnd, WM_GETTEXT, static_cast<WPARAM>(text.size()), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(copied));
    return text;
}

void SetText(HWND hwnd, const std::wstring& text) {
    SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// One timed call, in seconds.
template <typename Fn>
double Timed(Fn&& fn) {
    const auto begin = Clock::now();
    fn();
    return bench::SecondsSince(begin);
}

// Runs prepare (untimed) then the timed action `runs` times; the median.
template <typename Prepare, typename Act>
double MedianOf(int runs, Prepare&& prepare, Act&& act) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        prepare();
        times.push_back(Timed(act));
    }
    return Median(times);
}

std::wstring Digits(std::size_t count) {
    std::wstring text;
    for (std::size_t i = 0; i < count; ++i) text.push_back(static_cast<wchar_t>(L'0' + (i + 1) % 10));
    return text;
}

// A price of that many digits: "12." and a long fraction, a valid price.
std::wstring LongPrice(std::size_t digits) { return L"12." + Digits(digits - 2); }

std::wstring ClipboardText() {
    std::wstring text;
    for (int attempt = 0; attempt < 100 && !OpenClipboard(nullptr); ++attempt) Sleep(10);
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void EmptyTheClipboard() {
    for (int attempt = 0; attempt < 100 && !OpenClipboard(nullptr); ++attempt) Sleep(10);
    EmptyClipboard();
    CloseClipboard();
}

std::string Ms(double seconds) { return Figure(seconds * 1000.0, "ms"); }

void HostileInput(const Controls& c, int runs) {
    const std::string runText = std::to_string(runs);
    // A long paste takes about a second under Wine: fewer runs of those.
    const int pasteRuns = std::max(3, runs / 2 + 1);
    const std::string pasteRunText = std::to_string(pasteRuns) + " (baseline " + runText + ")";
    const std::wstring big = Digits(32767);
    const std::wstring small = L"12.50";

    // Paste into the price box, as WM_SETTEXT and as a selection replaced.
    std::size_t length = 0;
    const double setBig = MedianOf(pasteRuns, [&] { SetText(c.price, L""); }, [&] { SetText(c.price, big); });
    length = static_cast<std::size_t>(SendMessageW(c.price, WM_GETTEXTLENGTH, 0, 0));
    const double setSmall = MedianOf(runs, [&] { SetText(c.price, L""); }, [&] { SetText(c.price, small); });
    Row("Paste 32,767 digits into the price box (WM_SETTEXT from another process)" +
            std::string(length == big.size() ? "" : " - box kept " + std::to_string(length) + " only"),
        Ms(setBig), Ms(setSmall) + " (5 characters)", Ratio(setBig, setSmall), pasteRunText);

    auto replaceAll = [&](const std::wstring& text) {
        SendMessageW(c.price, EM_SETSEL, 0, -1);
        SendMessageW(c.price, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
    };
    const double replaceBig = MedianOf(pasteRuns, [&] { SetText(c.price, L"1"); }, [&] { replaceAll(big); });
    length = static_cast<std::size_t>(SendMessageW(c.price, WM_GETTEXTLENGTH, 0, 0));
    const double replaceSmall = MedianOf(runs, [&] { SetText(c.price, L"1"); }, [&] { replaceAll(small); });
    Row("Paste 32,767 digits over the price box's selection (EM_REPLACESEL)" +
            std::string(length == big.size() ? "" : " - box kept " + std::to_string(length) + " only"),
        Ms(replaceBig), Ms(replaceSmall) + " (5 characters)", Ratio(replaceBig, replaceSmall), pasteRunText);

    // Into a result box: its Change handler tests the whole text.
    const double resultBig = MedianOf(pasteRuns, [&] { SetText(c.limitUp, L""); }, [&] { SetText(c.limitUp, big); });
    const double resultSmall = MedianOf(runs, [&] { SetText(c.limitUp, L""); }, [&] { SetText(c.limitUp, small); });
    Row("Paste 32,767 digits into a result box (its Change guard reads them)", Ms(resultBig),
        Ms(resultSmall) + " (5 characters)", Ratio(resultBig, resultSmall), pasteRunText);
    SetText(c.limitUp, L"");

    // Calculate: the click of 计算 as the window receives it.
    const int id = GetDlgCtrlID(c.calculate);
    auto click = [&] {
        SendMessageW(c.form, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(c.calculate));
    };
    auto calculateWith = [&](const std::wstring& price, bool& computed) {
        const double t = MedianOf(
            runs,
            [&] {
                SetText(c.price, price);
                SetText(c.limitUp, L"");
                SetText(c.limitDown, L"");
            },
            click);
        computed = !Text(c.limitUp).empty() && !Text(c.limitDown).empty();
        return t;
    };
    bool baseComputed = false;
    const double calcBase = calculateWith(L"12.1", baseComputed);
    for (std::size_t digits : {std::size_t{40}, std::size_t{400}}) {
        bool computed = false;
        const double t = calculateWith(LongPrice(digits), computed);
        Row("Calculate with a " + std::to_string(digits) + "-digit price (12.345...)" +
                (computed && baseComputed ? "" : " - NO RESULT SHOWN"),
            Ms(t), Ms(calcBase) + " (12.1)", Ratio(t, calcBase), runText);
    }

    // Copy: a double click on a result box holding the number.
    auto copyOf = [&](const std::wstring& number, bool& copied) {
        SetText(c.limitUp, number);
        EmptyTheClipboard();
        const double t = MedianOf(
            runs, [] {},
            [&] {
                SendMessageW(c.limitUp, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(4, 4));
                SendMessageW(c.limitUp, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
            });
        copied = ClipboardText() == number;
        return t;
    };
    bool baseCopied = false;
    const double copyBase = copyOf(L"13.31", baseCopied);
    for (std::size_t digits : {std::size_t{40}, std::size_t{400}}) {
        bool copied = false;
        const double t = copyOf(LongPrice(digits), copied);
        Row("Copy a " + std::to_string(digits) + "-digit result by double click" +
                (copied && baseCopied ? "" : " - CLIPBOARD DID NOT MATCH"),
            Ms(t), Ms(copyBase) + " (13.31)", Ratio(t, copyBase), runText);
    }
}

std::string Megabytes(double bytes) { return Figure(bytes / (1024.0 * 1024.0), "MiB"); }

}  // namespace

int wmain(int argc, wchar_t** argv) {
    bench::BinaryOutput();
    if (argc != 5) {
        std::fprintf(stderr, "usage: bench_driver TAVIREL.EXE MINIMAL.EXE START-RUNS INPUT-RUNS\n");
        return 2;
    }
    const std::wstring tavirel = argv[1];
    const std::wstring minimal = argv[2];
    const int startRuns = _wtoi(argv[3]);
    const int inputRuns = _wtoi(argv[4]);

    const Readiness program{L"TavirelForm", ButtonsPainted};
    const Readiness baseline{L"TavirelBenchMinimal", ClientPainted};

    // Alternating, so that a slow stretch of the machine hits both alike.
    std::vector<double> programTimes, baselineTimes, programBytes, baselineBytes, programSet, baselineSet;
    std::vector<double> programPaint, baselinePaint;  // from first seen visible to painted
    for (int i = 0; i < startRuns; ++i) {
        for (int which = 0; which < 2; ++which) {
            const bool isProgram = (which == 0) == (i % 2 == 0);
            const Readiness& ready = isProgram ? program : baseline;
            Running run;
            if (!Start(isProgram ? tavirel : minimal, ready, run)) {
                if (run.process.hProcess) Stop(run);
                return 1;
            }
            (isProgram ? programTimes : baselineTimes).push_back(run.seconds);
            bench::Note("start-up %d, %s: visible after %.1f ms, painted after %.1f ms", i + 1,
                        isProgram ? "program" : "minimal", run.visibleAfter * 1000.0, run.seconds * 1000.0);
            (isProgram ? programBytes : baselineBytes).push_back(run.privateBytes);
            (isProgram ? programSet : baselineSet).push_back(run.workingSet);
            (isProgram ? programPaint : baselinePaint).push_back(run.seconds - run.visibleAfter);
            Stop(run);
        }
    }
    const std::string runs = std::to_string(startRuns);
    Row("Start-up: process created to window shown, three buttons painted", Ms(Median(programTimes)),
        Ms(Median(baselineTimes)) + " (minimal program, one empty window)",
        Ratio(Median(programTimes), Median(baselineTimes)), runs);
    Row("Start-up, its last part: window first seen visible to three buttons painted", Ms(Median(programPaint)),
        Ms(Median(baselinePaint)) + " (minimal program: to its client area painted)",
        Ratio(Median(programPaint), Median(baselinePaint)), runs);
    Row("Private bytes once shown (GetProcessMemoryInfo: PrivateUsage, which Wine leaves 0, so PagefileUsage)",
        Megabytes(Median(programBytes)), Megabytes(Median(baselineBytes)) + " (minimal program)",
        Ratio(Median(programBytes), Median(baselineBytes)), runs);
    Row("Working set once shown (WorkingSetSize)", Megabytes(Median(programSet)),
        Megabytes(Median(baselineSet)) + " (minimal program)", Ratio(Median(programSet), Median(baselineSet)), runs);

    Running run;
    if (!Start(tavirel, program, run)) {
        if (run.process.hProcess) Stop(run);
        return 1;
    }
    const Controls controls = FindControls(run.window);
    if (!controls.price || !controls.limitUp || !controls.limitDown || !controls.calculate) {
        bench::Note("the program's text boxes and 计算 button were not found");
        Stop(run);
        return 1;
    }
    HostileInput(controls, inputRuns);
    Stop(run);
    return 0;
}
