// The real program used from outside through real keys and clicks. Each case starts it anew, as a user finds it,
// and ends it, so that any case runs alone and all in any order. With TAVIREL_STRESS set (scripts/stress) some cases
// soak it: 70,000 paints of each face, 10,000 calculations and hostile text in every box.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <thread>
#include <tuple>
#include <variant>
#include <vector>

#include "forms_runtime/scoped_gdi.h"
#include "test_support/driver.h"
#include "test_support/picture.h"
#include "tests/win/face_rows.h"

namespace {

using namespace driver;
using test_support::Picture;
using Boxes = std::array<std::wstring, 3>;  // the texts of the price box, the limit-up and the limit-down
constexpr Id kBoxes[] = {txtCurPrice, txtZTPrice, txtDTPrice};
const bool kStress = std::getenv("TAVIREL_STRESS") != nullptr;

// Whether what `read` reads comes to equal `want` within the driver's wait; if not, what it read last.
template <typename Read, typename T>
testing::AssertionResult Becomes(Read&& read, const T& want) {
    if (WaitUntil([&] { return read() == want; }))
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "it reads " << testing::PrintToString(read());
}

// The desktop's resolution and colour depth. The pixel checks are worked out at 96 DPI in true colour.
std::string Desktop() {
    const forms::ScopedGetDc screen(nullptr);
    return std::to_string(GetDeviceCaps(screen.Get(), LOGPIXELSX)) + " DPI, " +
           std::to_string(GetDeviceCaps(screen.Get(), BITSPIXEL)) + " bits a pixel";
}
bool DesktopAsWorkedOut() {
    return Desktop() == "96 DPI, 24 bits a pixel" || Desktop() == "96 DPI, 32 bits a pixel";
}

// Whether the screen shows this icon in the window: drawn here over the colour around it there, every pixel alike.
bool ShowsIcon(HWND window, HICON icon) {
    const Picture shown(window), drawn(shown.width, shown.height, shown(0, 0));
    DrawIconEx(drawn.Dc(), 0, 0, icon, shown.width, shown.height, 0, nullptr, DI_NORMAL);
    return shown.width > 0 && face_rows::FirstWrongPixel(shown, drawn).empty();
}

// A message box as "title|text|buttons", with "+icon" once the screen shows that icon in it.
std::wstring Message(HWND box, const wchar_t* icon) {
    wchar_t title[16] = {}, text[64] = {};
    GetWindowTextW(box, title, 16);
    int buttons = 0;
    bool shown = false;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t kind[16] = {};
        GetClassNameW(child, kind, 16);
        buttons += IsWindowVisible(child) && wcscmp(kind, L"Button") == 0;
        if (wcscmp(kind, L"Static") == 0 && (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON)
            GetWindowTextW(child, text, 64);
        else if (wcscmp(kind, L"Static") == 0)
            shown = WaitUntil([&] { return ShowsIcon(child, LoadIconW(nullptr, icon)); });
    }
    return std::wstring(title) + L"|" + text + L"|" + std::to_wstring(buttons) + (shown ? L"+icon" : L"");
}

// The message box the program shows: as "title|text|buttons", with "+icon" once the screen shows that icon in it, owned
// by the window, which it keeps disabled; then dismissed by its OK button.
void DismissMessage(const Program& p, const wchar_t* icon, const wchar_t* message) {
    HWND box = p.AwaitDialog();
    ASSERT_NE(box, nullptr) << "no message";
    EXPECT_EQ(Message(box, icon), message) << "on a desktop at " << Desktop();
    EXPECT_EQ(GetWindow(box, GW_OWNER), p.Window());
    EXPECT_FALSE(IsWindowEnabled(p.Window()));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}
constexpr const wchar_t* kNotAboveZero = L"提示|价格必须大于 0|1+icon";

// A window of the driver in front of the program's, as another program's would be, while it lives.
using WindowInFront = std::unique_ptr<HWND__, decltype(&DestroyWindow)>;
WindowInFront PutWindowInFront() {
    HWND window = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 99, 99, 0, 0, 0, 0);
    SetForegroundWindow(window);
    WaitUntil([window] { return GetForegroundWindow() == window; });
    return {window, &DestroyWindow};
}

class Tavirel : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(p.Start()) << "the program did not start";
        ASSERT_TRUE(p.Activate()) << "the window could not be brought to the front, by SetForegroundWindow nor by "
                                     "a click on its caption; in front: "
                                  << Describe(GetForegroundWindow());
        ASSERT_TRUE(Becomes(focus, txtCurPrice));
    }
    void SetTexts(const Boxes& boxes) const {  // as another program would set them
        for (int i = 0; i < 3; ++i)
            p.SetText(kBoxes[i], boxes[i]);
    }
    Program p;
    const std::function<Boxes()> texts = [this] {
        return Boxes{p.Text(kBoxes[0]), p.Text(kBoxes[1]), p.Text(kBoxes[2])};
    };
    const std::function<Id()> focus = [this] {  // Form1 for no control of the window
        return Id(GetDlgCtrlID(p.Focus()));
    };
    const std::function<Id()> band = [this] {  // the option selected; Form1 for none, or both
        return p.Checked(Option1) == p.Checked(Option2) ? Form1 : p.Checked(Option1) ? Option1 : Option2;
    };
};

// A behaviour as the boxes, the band and the clipboard show it: the texts set first, then keys pressed (with a
// modifier), text typed, controls clicked (twice: a double-click), a message dismissed, the focus awaited on a control
// and the window left, after which the boxes, the band and the clipboard must be as given, and no message show.
struct Press {
    WORD key, modifier = 0;
};
struct ClickOn {
    Id control;
    int clicks = 1;
};
struct Dismiss {};  // the price message that shows
// Another program holds the clipboard open, and lets it go once the program is seen waiting for it (answering
// nothing meanwhile), or at the end.
enum class Clipboard { kHeld, kReleased };
// The window left and come back to, as a user does: minimized and restored, another window put in front and closed,
// or the price message shown without a click (as an automation tool clicks) and dismissed. No control has the focus
// while the window is minimized or behind.
enum class Away { kMinimized, kBehindAnother, kPriceMessage };
using Step = std::variant<const wchar_t*, Press, ClickOn, Dismiss, Clipboard, Id, Away>;
struct Scenario {
    const char* name;
    Boxes before;
    std::vector<Step> steps;
    Boxes after;
    Id band = Option1;
    const wchar_t* clipboard = L"ab";  // what the driver put there
};
void PrintTo(const Scenario& scenario, std::ostream* out) {
    *out << scenario.name;
}

// clang-format off
const Scenario kScenarios[] = {
    {"StartsEmptyAtTheTenPercentBand", {}, {}, {}},
    // The price box takes typed digits, the point and backspace only, not Ctrl+V, Ctrl+C, Ctrl+X nor Ctrl+Z (the
    // codes 22, 3, 24 and 26); of the last two characters typed first, only the low byte is a digit. What types no
    // character is not filtered: a paste, the editing keys (up and down move as left and right in one line).
    {"ThePriceBoxTakesDigitsAndThePointOnly", {}, {L"1a-, +.5x\u00BD\uFF11\u0130\u8030.", Press{VK_BACK}}, {L"1.5"}},
    {"CtrlVCXAndZDoNothingInThePriceBox", {L"1.5"}, {Press{VK_END}, Press{VK_HOME, VK_SHIFT}, Press{'V', VK_CONTROL}, Press{'C', VK_CONTROL}, Press{'X', VK_CONTROL}, Press{'Z', VK_CONTROL}, Press{VK_END}, L"1"}, {L"1.51"}},
    {"ShiftInsertPastesAnyText", {L"1"}, {Press{VK_END}, Press{VK_INSERT, VK_SHIFT}}, {L"1ab"}},
    {"EditingKeysEditThePrice", {L"1.501ab"}, {Press{VK_HOME}, Press{VK_DELETE}, Press{VK_RIGHT}, Press{VK_DOWN}, L"9", Press{VK_END}, Press{VK_UP}, Press{VK_BACK}}, {L".5901b"}},
    {"CtrlTabMovesNoFocus", {}, {Press{VK_TAB, VK_CONTROL}, L"1"}, {L"1"}},
    // Enter presses no button from an option or a box, Escape none from anywhere.
    {"EnterAndEscapePressNoButton", {}, {Press{VK_TAB}, Press{VK_RETURN}, Press{VK_ESCAPE}, Press{VK_TAB}, Press{VK_ESCAPE}, Press{VK_TAB, VK_SHIFT}, Press{VK_TAB, VK_SHIFT}, L"10", Press{VK_RETURN}, Press{VK_ESCAPE}}, {L"10"}},
    // Calculating at the band selected when it is clicked. A price that is no number or lies beyond single precision
    // changes nothing; one not above 0 shows its message and changes nothing.
    {"CalculateShowsBothLimits", {L"10"}, {ClickOn{Command1}}, {L"10", L"11", L"9"}},
    {"EnterPressesTheFocusedButton", {L"10"}, {Press{VK_TAB}, Press{VK_TAB}, Press{VK_RETURN}}, {L"10", L"11", L"9"}},
    {"SelectingABandChangesNoResult", {L"10", L"11", L"9"}, {ClickOn{Option2}}, {L"10", L"11", L"9"}, Option2},
    {"CalculateTakesTheBandSelected", {L"10", L"11", L"9"}, {ClickOn{Option2}, ClickOn{Command1}}, {L"10", L"10.5", L"9.5"}, Option2},
    {"CalculateDoesNothingWithoutAPrice", {L"", L"11", L"9"}, {ClickOn{Command1}}, {L"", L"11", L"9"}},
    {"CalculateDoesNothingBeyondSinglePrecision", {L"1e99", L"11", L"9"}, {ClickOn{Command1}}, {L"1e99", L"11", L"9"}},
    {"APriceNotAboveZeroKeepsTheResults", {L"0.00", L"11", L"9"}, {ClickOn{Command1}, Dismiss{}}, {L"0.00", L"11", L"9"}},
    // Carrying a result forward, with each click of a quick pair: its text itself, not its value; from a box not
    // above 0, nothing.
    {"CarryForwardTakesTheLimitUp", {L"10", L"11", L"9"}, {ClickOn{cmdGetZT}}, {L"11", L"12.1", L"9.9"}},
    {"CarryForwardTakesTheLimitDown", {L"11", L"12.1", L"9.9"}, {ClickOn{cmdGetDT}}, {L"9.9", L"10.89", L"8.91"}},
    {"AQuickSecondClickCarriesForwardAgain", {L"10", L"11", L"9"}, {ClickOn{cmdGetZT, 2}}, {L"12.1", L"13.31", L"10.89"}},
    {"CarryForwardTakesTheTextNotItsValue", {L"", L"012.10"}, {ClickOn{cmdGetZT}}, {L"012.10", L"13.31", L"10.89"}},
    {"CarryForwardDoesNothingFromALimitUpOf0", {L"10", L"0", L"9"}, {ClickOn{cmdGetZT}}, {L"10", L"0", L"9"}},
    // A result box filters no key: what leaves a number stays, anything else empties the whole box.
    {"TheLimitUpKeepsANumberTypedIntoIt", {L"", L"12.1"}, {ClickOn{txtZTPrice}, Press{VK_HOME}, L"-"}, {L"", L"-12.1"}},
    {"TheLimitUpEmptiesOnceItHoldsNoNumber", {L"", L"12.1"}, {ClickOn{txtZTPrice}, Press{VK_END}, L"x"}, {}},
    {"TheLimitDownEmptiesOnceItHoldsNoNumber", {L"", L"", L"12.1"}, {ClickOn{txtDTPrice}, Press{VK_END}, L"x"}, {}},
    {"AnEmptiedResultTakesANewNumber", {L"", L"1x"}, {ClickOn{txtZTPrice}, Press{VK_END}, L"5"}, {L"", L"5"}},
    // A double-click copies a positive result's text as it is, alone on the clipboard, and nothing else.
    {"ADoubleClickCopiesTheLimitUpAsItIs", {L"", L"012.10"}, {ClickOn{txtZTPrice, 2}}, {L"", L"012.10"}, Option1, L"012.10"},
    {"ADoubleClickCopiesTheLimitDownAsItIs", {L"", L"", L"1.1E+07"}, {ClickOn{txtDTPrice, 2}}, {L"", L"", L"1.1E+07"}, Option1, L"1.1E+07"},
    {"ADoubleClickCopiesNoLimitUpOf0", {L"", L"0"}, {ClickOn{txtZTPrice, 2}}, {L"", L"0"}},
    {"ACopyWaitsForAClipboardHeldAMoment", {L"", L"", L"9.9"}, {Clipboard::kHeld, ClickOn{txtDTPrice, 2}, Clipboard::kReleased}, {L"", L"", L"9.9"}, Option1, L"9.9"},
    // Back in the window, the focus is where it was, in a box or on a button: what is typed goes there.
    {"BackFromMinimizedTheFocusIsInItsBox", {L"0", L"", L"9"}, {ClickOn{txtZTPrice}, Press{VK_TAB, VK_SHIFT}, txtDTPrice, Away::kMinimized, txtDTPrice, Press{VK_END}, L"5"}, {L"0", L"", L"95"}},
    {"BackFromBehindAnotherTheFocusIsInItsBox", {L"0", L"", L"9"}, {ClickOn{txtZTPrice}, Press{VK_TAB, VK_SHIFT}, txtDTPrice, Away::kBehindAnother, txtDTPrice, Press{VK_END}, L"5"}, {L"0", L"", L"95"}},
    {"BackFromTheMessageTheFocusIsInItsBox", {L"0", L"", L"9"}, {ClickOn{txtZTPrice}, Press{VK_TAB, VK_SHIFT}, txtDTPrice, Away::kPriceMessage, txtDTPrice, Press{VK_END}, L"5"}, {L"0", L"", L"95"}},
    {"BackFromMinimizedTheFocusIsOnItsButton", {L"0", L"", L"9"}, {ClickOn{txtZTPrice}, Press{VK_TAB}, cmdGetDT, Away::kMinimized, cmdGetDT, Press{VK_SPACE}}, {L"9", L"9.9", L"8.1"}},
    {"BackFromBehindAnotherTheFocusIsOnItsButton", {L"0", L"", L"9"}, {ClickOn{txtZTPrice}, Press{VK_TAB}, cmdGetDT, Away::kBehindAnother, cmdGetDT, Press{VK_SPACE}}, {L"9", L"9.9", L"8.1"}},
    {"BackFromTheMessageTheFocusIsOnItsButton", {L"0", L"", L"9"}, {ClickOn{txtZTPrice}, Press{VK_TAB}, cmdGetDT, Away::kPriceMessage, cmdGetDT, Press{VK_SPACE}}, {L"9", L"9.9", L"8.1"}},
    {"ACopyGivesUpOnAClipboardHeldThroughout", {L"", L"", L"9.9"}, {Clipboard::kHeld, ClickOn{txtDTPrice, 2}}, {L"", L"", L"9.9"}},
};
// clang-format on

class Behaves : public Tavirel, public testing::WithParamInterface<Scenario> {
public:  // each step of a scenario, taken by std::visit
    void operator()(const wchar_t* text) const { Type(text); }
    void operator()(Press press) const { Key(press.key, press.modifier); }
    void operator()(ClickOn click) const { Click(p[click.control], click.clicks); }
    void operator()(Dismiss) const { DismissMessage(p, IDI_INFORMATION, kNotAboveZero); }
    void operator()(Clipboard clipboard) const {
        if (clipboard == Clipboard::kHeld) {
            EXPECT_TRUE(OpenClipboard(ClipboardWindow()));
            return;
        }
        EXPECT_TRUE(WaitUntil([this] { return !p.Responsive(50); })) << "the program did not wait for it";
        CloseClipboard();
    }
    void operator()(Id control) const { EXPECT_TRUE(Becomes(focus, control)) << "awaited"; }
    void operator()(Away away) const {
        if (away == Away::kMinimized) {
            ShowWindow(p.Window(), SW_MINIMIZE);
            EXPECT_TRUE(Becomes(focus, Form1)) << "minimized";
            ShowWindow(p.Window(), SW_RESTORE);
        } else if (away == Away::kBehindAnother) {
            {
                const WindowInFront front = PutWindowInFront();
                EXPECT_TRUE(Becomes(focus, Form1)) << "behind another";
            }
            EXPECT_TRUE(p.Activate());
        } else {
            PostMessageW(p.Window(), WM_COMMAND, MAKEWPARAM(ChildId(Command1), BN_CLICKED), LPARAM(p[Command1]));
            DismissMessage(p, IDI_INFORMATION, kNotAboveZero);
        }
    }
};

// Input is handled in order: once a click on the limit-up and then one on the price box that come last have moved the
// focus there, all before them has been handled, and no message shows.
TEST_P(Behaves, AsTheBoxesShow) {
    const Scenario& scenario = GetParam();
    ASSERT_TRUE(PutOnClipboard(L"ab"));
    SetTexts(scenario.before);
    for (const Step& step : scenario.steps)
        std::visit(*this, step);
    for (const Id box : {txtZTPrice, txtCurPrice}) {
        Click(p[box]);
        ASSERT_TRUE(Becomes(focus, box)) << "a message shows, or the input was not handled";
    }
    EXPECT_EQ(texts(), scenario.after);
    EXPECT_EQ(band(), scenario.band);
    EXPECT_EQ(ClipboardText(), scenario.clipboard);  // which closes a clipboard still held
}
INSTANTIATE_TEST_SUITE_P(Tavirel, Behaves, testing::ValuesIn(kScenarios), [](const auto& row) {
    return std::string(row.param.name);
});

// Nothing is held from one calculation to the next: each gives what its price gives, again and again (10,000 times
// under stress), whether calculated or carried forward.
TEST_F(Tavirel, CalculatesTheSameEachTime) {
    for (int i = 0; i < (kStress ? 10000 : 50); ++i) {
        SetTexts(i % 2 ? Boxes{L"3.33"} : Boxes{L"", L"10"});
        p.Ask(i % 2 ? Command1 : cmdGetZT, BM_CLICK);
        const Boxes want = i % 2 ? Boxes{L"3.33", L"3.66", L"3"} : Boxes{L"10", L"11", L"9"};
        if (i < 50 || i % 100 < 2) {  // under stress, a pair in a hundred read back
            ASSERT_EQ(texts(), want) << "calculation " << i;
        }
    }
}

// As far from each side of its screen as from the other, give or take the odd pixel.
TEST_F(Tavirel, StartsInTheMiddleOfItsScreen) {
    MONITORINFO monitor{sizeof monitor, {}, {}, 0};
    GetMonitorInfoW(MonitorFromWindow(p.Window(), MONITOR_DEFAULTTONEAREST), &monitor);
    RECT window{};
    GetWindowRect(p.Window(), &window);
    const RECT& screen = monitor.rcMonitor;
    EXPECT_NEAR(window.left - screen.left, screen.right - window.right, 1);
    EXPECT_NEAR(window.top - screen.top, screen.bottom - window.bottom, 1);
}

// Client-area places at 96 DPI, one of each kind of control (the rest of a kind is painted by the same code): the
// window between the frames, a frame beside its controls, the lower frame's caption, a label, an option beside its
// circle, and each text box, in its own colour, away from its text and border (the carry buttons, which lie over the
// lower frame, show their faces). Each shows its colour in more than half of it; the caption, the label and the option
// show their text there besides (true), in other colours.
TEST_F(Tavirel, ShowsEachControlInItsColours) {
    if (!DesktopAsWorkedOut())
        GTEST_SKIP() << "needs a desktop at 96 DPI in 24- or 32-bit colour, not " << Desktop();
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const std::tuple<RECT, COLORREF, bool> areas[] = {
        {{0, 110, 484, 124}, face, false},
        {{8, 48, 94, 104}, face, false},
        {{12, 164, 104, 176}, face, true},
        {{28, 30, 100, 42}, face, true},
        {{112, 64, 179, 95}, face, true},
        {{160, 30, 206, 45}, RGB(192, 192, 255), false},
        {{144, 192, 187, 207}, RGB(255, 128, 128), false},
        {{374, 192, 417, 207}, RGB(128, 255, 128), false},
    };
    const auto wrongAreas = [&] {
        const Picture shot(p.Window());
        if (shot.width != 484 || shot.height != 277)
            return std::to_string(shot.width) + " x " + std::to_string(shot.height) + " client area";
        std::string wrong;
        for (const auto& [at, colour, text] : areas) {
            int inColour = 0;
            for (int y = at.top; y < at.bottom; ++y) {
                for (int x = at.left; x < at.right; ++x)
                    inColour += shot(x, y) == colour;
            }
            const int area = (at.right - at.left) * (at.bottom - at.top);
            if (inColour * 2 < area || (text && area - inColour < 10))
                wrong += std::to_string(at.left) + "," + std::to_string(at.top) + " ";
        }
        // The lower frame's border breaks for its caption 6 pixels in, at x = 10: its top line's shadow ends at 9.
        int line = 164;
        while (line < 176 && shot(7, line) != GetSysColor(COLOR_BTNSHADOW))
            ++line;
        if (shot(9, line) != GetSysColor(COLOR_BTNSHADOW) || shot(10, line) != face)
            wrong += "the caption's gap";
        return wrong;
    };
    EXPECT_TRUE(Becomes(wrongAreas, "")) << "on a desktop at " << Desktop() << ", " << Covering(p.Window());
}

// Every rule of the keyboard, round each cycle both ways, from the price box: Tab and Shift+Tab in tab order, not in
// the order on screen, each box entered with its whole text selected (its caret put at its start before); the option
// group entered by its selected option, each arrow moving round it and selecting; Space pressing the focused button.
// Each step moves the focus but one.
TEST_F(Tavirel, TheKeyboardRulesHold) {
    SetTexts({L"10", L"1", L"2"});
    for (const Id box : kBoxes)
        p.Ask(box, EM_SETSEL, 0, 0);
    const std::tuple<WORD, WORD, Id, Id> walk[] = {
        {VK_TAB, VK_SHIFT, cmdGetZT, Option1},
        {VK_TAB, VK_SHIFT, cmdGetDT, Option1},
        {VK_TAB, VK_SHIFT, txtZTPrice, Option1},
        {VK_TAB, VK_SHIFT, txtDTPrice, Option1},
        {VK_TAB, VK_SHIFT, Command1, Option1},
        {VK_TAB, VK_SHIFT, Option1, Option1},
        {VK_TAB, VK_SHIFT, txtCurPrice, Option1},
        {VK_TAB, 0, Option1, Option1},
        {VK_RIGHT, 0, Option2, Option2},
        {VK_DOWN, 0, Option1, Option1},
        {VK_LEFT, 0, Option2, Option2},
        {VK_UP, 0, Option1, Option1},
        {VK_RIGHT, 0, Option2, Option2},
        {VK_TAB, 0, Command1, Option2},
        {VK_SPACE, 0, Command1, Option2},
        {VK_TAB, 0, txtDTPrice, Option2},
        {VK_TAB, 0, txtZTPrice, Option2},
        {VK_TAB, 0, cmdGetDT, Option2},
        {VK_TAB, 0, cmdGetZT, Option2},
        {VK_TAB, 0, txtCurPrice, Option2},
        {VK_TAB, 0, Option2, Option2},
    };
    for (size_t i = 0; i < std::size(walk); ++i) {
        const auto [key, modifier, to, selected] = walk[i];
        SCOPED_TRACE("step " + std::to_string(i + 1));
        Key(key, modifier);
        EXPECT_TRUE(Becomes(focus, to));
        EXPECT_TRUE(Becomes(band, selected));
        const auto wholeTextSelected = [&, to = to] {
            return p.Ask(to, EM_GETSEL) == MAKELRESULT(0, p.Text(to).size());
        };
        if (std::ranges::count(kBoxes, to)) {
            EXPECT_TRUE(Becomes(wholeTextSelected, true));
        }
    }
    EXPECT_EQ(texts(), (Boxes{L"10", L"10.5", L"9.5"})) << "Space on the focused button";
}

// Calculated while another program's window is in front, the click notified as an automation tool would: the window
// is not active when the message shows.
TEST_F(Tavirel, APriceNotAboveZeroShowsAMessage) {
    Type(L"0.00");
    const WindowInFront front = PutWindowInFront();
    PostMessageW(p.Window(), WM_COMMAND, MAKEWPARAM(ChildId(Command1), BN_CLICKED), LPARAM(p[Command1]));
    DismissMessage(p, IDI_INFORMATION, kNotAboveZero);
    EXPECT_TRUE(Becomes([this] { return IsWindowEnabled(p.Window()) != FALSE; }, true));
}

// As the user reaches them, each unlike the one before: Command1 and a carry button with the focus elsewhere, then the
// carry button given the focus by Shift+Tab, the mouse brought over it, held down and let go (Space is drawn through
// the same states); disabled only as another program would: the program never disables one. Compared outside the
// caption, which is drawn in the system's font.
TEST_F(Tavirel, EachButtonStateIsPaintedInItsFace) {
    if (!DesktopAsWorkedOut())
        GTEST_SKIP() << "needs a desktop at 96 DPI in 24- or 32-bit colour, not " << Desktop();
    HWND button = p[cmdGetZT];
    const std::tuple<const char*, HWND, std::function<void()>, face_rows::Face> steps[] = {
        {"the focus elsewhere", p[Command1], [] {}, face_rows::kNormal},
        {"the focus elsewhere", button, [] {}, face_rows::kNormal},
        {"Shift+Tab", button, [] { Key(VK_TAB, VK_SHIFT); }, face_rows::kFocused},
        {"the mouse over it", button, [button] { MoveTo(button); }, face_rows::kFocused},
        {"mouse down", button, [] { Send({MouseInput(MOUSEEVENTF_LEFTDOWN)}); }, face_rows::kPressed},
        {"mouse up", button, [] { Send({MouseInput(MOUSEEVENTF_LEFTUP)}); }, face_rows::kFocused},
        {"disabled", button, [button] { EnableWindow(button, FALSE); }, face_rows::kDisabled},
    };
    int soaked = 0;  // under stress, each face painted 70,000 times once
    for (const auto& [step, shown, act, face] : steps) {
        act();
        for (int n = 0; kStress && !(soaked & 1 << face) && n < 70000; ++n) {
            InvalidateRect(shown, nullptr, FALSE);
            SendMessageW(shown, WM_PAINT, 0, 0);
        }
        soaked |= 1 << face;
        const auto wrongPixels = [target = shown, face = face] {
            const Picture shot(target);
            if (shot.height != face_rows::kHeight)
                return std::to_string(shot.width) + " x " + std::to_string(shot.height) + " button";
            return face_rows::FirstWrongPixel(shot, [face, &shot](int x, int y) {
                const bool caption = x >= 15 && x < shot.width - 15 && y >= 4 && y < 21;
                return caption ? face_rows::kAny : face_rows::Expected(face, x, y, shot.width);
            });
        };
        EXPECT_TRUE(Becomes(wrongPixels, ""))
            << face_rows::kFaceNames[face] << " face of button " << GetDlgCtrlID(shown) << " after " << step
            << ", on a desktop at " << Desktop() << ", " << Covering(shown);
    }
}

// A face wider than 32 bits can measure: its paint raises Overflow, which no handler traps.
TEST_F(Tavirel, AnUntrappedErrorIsReportedAndEndsTheProgram) {
    DRAWITEMSTRUCT item{ODT_BUTTON, UINT(ChildId(Command1)),   0, ODA_DRAWENTIRE, 0, p[Command1],
                        nullptr,    {INT_MIN, 0, INT_MAX, 25}, 0};
    std::jthread sender([to = p.Window(), item]() mutable {  // answered by no one: it returns once the program ends
        SendMessageTimeoutW(to, WM_DRAWITEM, ChildId(Command1), LPARAM(&item), SMTO_NORMAL, 20000, nullptr);
    });
    DismissMessage(p, IDI_ERROR, L"Tavirel|Run-time error '6':\n\nOverflow|1+icon");
    ASSERT_EQ(WaitForSingleObject(p.Process(), 10000), WAIT_OBJECT_0) << "the program goes on";
    DWORD code = 0;
    GetExitCodeProcess(p.Process(), &code);
    EXPECT_EQ(code, 1u);
}

// 32,768 digits, one past the length Windows gives a text box: a price beyond single precision, refused silently, and
// a result copied whole. Under stress, hostile texts in every box, and three clicks and a double-click on each.
TEST_F(Tavirel, TakesTheLongestText) {
    const std::wstring digits(32768, L'9');
    ASSERT_TRUE(PutOnClipboard(digits));
    for (const Id box : {txtCurPrice, txtZTPrice}) {
        Click(p[box]);
        ASSERT_TRUE(Becomes(focus, box));
        Key(VK_INSERT, VK_SHIFT);
        WaitUntil([&] { return p.Text(box).size() == digits.size(); }, 60000);
        EXPECT_EQ(p.Text(box).size(), digits.size()) << testing::PrintToString(box);
    }
    Click(p[Command1]);
    const DWORD before = GetClipboardSequenceNumber();
    Click(p[txtZTPrice], 2);
    EXPECT_TRUE(WaitUntil([&] { return GetClipboardSequenceNumber() != before; }, 20000)) << "nothing copied";
    EXPECT_EQ(ClipboardText(), digits);
    const std::wstring hostile[] = {
        L"1" + std::wstring(400, L'0'), L"1e99999999999",         L"1e-400", L"-0",     L".",
        L"3.0934761551103933e+38",      std::wstring(5000, L'.'), L"\xD800", L"\uFF11", L"-1e400"};
    for (const std::wstring& text : std::span(hostile).first(kStress ? std::size(hostile) : 0)) {
        SetTexts({text, text, text});
        for (const Id target : {Command1, cmdGetZT, cmdGetDT, txtZTPrice}) {
            // Returns even when the click opens the price message.
            const UINT message = target == txtZTPrice ? WM_LBUTTONDBLCLK : BM_CLICK;
            SendMessageTimeoutW(p[target], message, 0, 0, SMTO_NORMAL, 2000, nullptr);
            PostMessageW(p.Dialog(), WM_COMMAND, IDOK, 0);  // a message the click opened, if any
            ASSERT_TRUE(Becomes([this] { return p.Dialog(); }, nullptr));
        }
        SendMessageW(p[txtZTPrice], WM_LBUTTONUP, 0, 0);
    }
    EXPECT_TRUE(p.Responsive());
}

TEST_F(Tavirel, EndsWhenItsWindowIsClosed) {
    EXPECT_TRUE(p.Close());
}

}  // namespace
