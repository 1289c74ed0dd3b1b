// The real program, started once and used through real keys and clicks; the cases run in order, each from the state it sets. With TAVIREL_STRESS
// set (scripts/stress) they soak it: 70,000 paints of each face, 10,000 calculations and hostile text in every box.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <algorithm>
#include <span>
#include <string>
#include <thread>

#include "test_support/driver.h"
#include "tests/win/face_rows.h"

namespace {

using namespace driver;
const bool kStress = std::getenv("TAVIREL_STRESS") != nullptr;
constexpr Id kBoxes[] = {txtCurPrice, txtZTPrice, txtDTPrice};

class Tavirel : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(p.Start()) << "the program did not start"; }
    void SetUp() override {
        ASSERT_TRUE(p.Alive()) << "the program has ended";
        ASSERT_TRUE(p.Activate()) << "the window could not be brought to the front, by SetForegroundWindow nor by a click on its caption";
    }
    // The desktop's resolution and colour depth, printed with a pixel check that fails.
    static std::string Desktop() {
        HDC screen = GetDC(nullptr);
        const int dpi = GetDeviceCaps(screen, LOGPIXELSX), bits = GetDeviceCaps(screen, BITSPIXEL);
        ReleaseDC(nullptr, screen);
        return std::to_string(dpi) + " DPI, " + std::to_string(bits) + " bits a pixel";
    }
    // The places of the pixel checks are worked out at 96 DPI, their colours in true colour: whether this desktop is so.
    static bool DesktopAsWorkedOut() {
        HDC screen = GetDC(nullptr);
        const bool asWorkedOut = GetDeviceCaps(screen, LOGPIXELSX) == 96 && GetDeviceCaps(screen, BITSPIXEL) >= 24;
        ReleaseDC(nullptr, screen);
        return asWorkedOut;
    }
    static bool Shows(Id id, const std::wstring& text) { return WaitUntil([&] { return p.Text(id) == text; }); }
    static bool FocusIn(Id id) { return WaitUntil([&] { return p.Focus() == p[id]; }); }
    static std::wstring Texts() { return p.Text(txtCurPrice) + L" " + p.Text(txtZTPrice) + L" " + p.Text(txtDTPrice); }
    static bool ShowTexts(const std::wstring& texts) { return WaitUntil([&] { return Texts() == texts; }); }
    // A box emptied with real keys, or given a text typed into it.
    static void Enter(Id id, const std::wstring& text) {
        Click(p[id]);
        ASSERT_TRUE(FocusIn(id));
        Key(VK_END);
        for (size_t i = p.Text(id).size(); i > 0; --i) Key(VK_BACK);
        Type(text);
        ASSERT_TRUE(Shows(id, text));
    }
    // A window of the driver in front of the program's, as another program's would be.
    static HWND InFront() {
        HWND front = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 99, 99, nullptr, nullptr, nullptr, nullptr);
        SetForegroundWindow(front);
        return WaitUntil([front] { return GetForegroundWindow() == front; }) ? front : nullptr;
    }
    static Program p;
};
Program Tavirel::p;

// Whether a pixel is the text colour, the colour behind it or, where Windows smooths text (ClearType), a shade between them.
bool TextOrShadeOn(COLORREF pixel, COLORREF text, COLORREF behind) {
    for (const int shift : {0, 8, 16}) {
        const int v = pixel >> shift & 0xFF, a = text >> shift & 0xFF, b = behind >> shift & 0xFF;
        if (v < std::min(a, b) || v > std::max(a, b)) return false;
    }
    return true;
}

TEST_F(Tavirel, ShowsItsTitleAndEachControlInItsColours) {
    wchar_t title[32] = {};
    EXPECT_TRUE(GetWindowTextW(p.Window(), title, 32) && std::wstring(title) == L"Tavirel v1.0") << title;
    if (!DesktopAsWorkedOut()) GTEST_SKIP() << "needs a desktop at 96 DPI in 24- or 32-bit colour, not " << Desktop();
    // Client-area places at 96 DPI: the window between the frames, each frame beside its controls, the lower frame's caption,
    // the labels, the options beside their circles, each text box away from its text and border, and a band of each carry
    // button, which lies over the frame. Each shows its colour, at most text (or its smoothed shades) besides, and that in
    // less than half of it.
    const COLORREF face = GetSysColor(COLOR_BTNFACE), text = GetSysColor(COLOR_BTNTEXT);
    const struct { RECT at; COLORREF colour; } areas[] = {
        {{0, 110, 484, 124}, face}, {{8, 48, 94, 104}, face}, {{8, 212, 90, 268}, face}, {{12, 164, 104, 176}, face},
        {{28, 30, 100, 42}, face}, {{32, 192, 80, 204}, face}, {{262, 192, 310, 204}, face}, {{112, 64, 179, 95}, face},
        {{240, 64, 307, 95}, face}, {{160, 30, 206, 45}, RGB(192, 192, 255)}, {{144, 192, 187, 207}, RGB(255, 128, 128)},
        {{374, 192, 417, 207}, RGB(128, 255, 128)}, {{96, 228, 166, 232}, face_rows::G(240)},
        {{330, 228, 400, 232}, face_rows::G(240)}};
    std::string wrong;
    WaitUntil([&] {
        const Screenshot shot(p.Window());
        wrong = shot.width == 484 && shot.height == 277 ? "" : "the client area's size";
        for (const auto& [at, colour] : areas) {
            const int width = at.right - at.left, area = width * (at.bottom - at.top);
            int inColour = 0, textOrColour = 0;
            for (int i = 0; wrong.empty() && i < area; ++i) {
                const COLORREF pixel = shot(at.left + i % width, at.top + i / width);
                inColour += pixel == colour;
                textOrColour += TextOrShadeOn(pixel, text, colour);
            }
            if (textOrColour < area || inColour * 2 < area) wrong += std::to_string(at.left) + "," + std::to_string(at.top) + " ";
        }
        return wrong.empty();
    });
    EXPECT_EQ(wrong, "") << "areas not in their colour, on a desktop at " << Desktop();
}

TEST_F(Tavirel, StartsEmptyTheKeyboardWalksTheTabOrderAndThePriceBoxFiltersKeys) {
    EXPECT_EQ(Texts(), L"  ");
    EXPECT_TRUE(p.Checked(Option1) && !p.Checked(Option2));
    ASSERT_TRUE(FocusIn(txtCurPrice));
    // Tab and Shift+Tab in tab order (not the order on screen), the arrows in the option group.
    const struct { WORD key; bool shift; Id focus; } moves[] = {
        {VK_TAB, false, Option1}, {VK_TAB, false, Command1}, {VK_TAB, false, txtDTPrice}, {VK_TAB, false, txtZTPrice},
        {VK_TAB, false, cmdGetDT}, {VK_TAB, false, cmdGetZT}, {VK_TAB, false, txtCurPrice}, {VK_TAB, true, cmdGetZT},
        {VK_TAB, false, txtCurPrice}, {VK_TAB, false, Option1}, {VK_RIGHT, false, Option2}, {VK_LEFT, false, Option1}};
    for (const auto& move : moves) {
        move.shift ? Key(move.key, {VK_SHIFT}) : Key(move.key);
        EXPECT_TRUE(FocusIn(move.focus)) << "the focus should reach control " << move.focus;
        const Id other = move.focus == Option1 ? Option2 : Option1;  // an arrow selects as it moves
        EXPECT_TRUE(move.key == VK_TAB || WaitUntil([&] { return p.Checked(move.focus) && !p.Checked(other); }));
    }
    // Enter and Escape press no button, from an option or from a text box.
    for (const WORD key : {VK_RETURN, VK_ESCAPE}) Key(key);
    Key(VK_TAB, {VK_SHIFT});
    ASSERT_TRUE(FocusIn(txtCurPrice));
    Type(L"10");
    for (const WORD key : {VK_RETURN, VK_ESCAPE}) Key(key);
    Type(L"5");
    EXPECT_TRUE(ShowTexts(L"105  "));
    // The price box takes digits, the point and backspace only: not Ctrl+V, Ctrl+C, Ctrl+X nor Ctrl+Z (codes 22, 3,
    // 24 and 26) over all its text, while a paste from its menu or Shift+Insert takes anything.
    Enter(txtCurPrice, L"");
    Type(L"1a-, +.5x\u00BD\uFF11\u0130\u8030.");  // only the low byte of the last two is a digit
    EXPECT_TRUE(Shows(txtCurPrice, L"1.5."));
    Key(VK_BACK);
    ASSERT_TRUE(PutOnClipboard("99"));
    const DWORD before = GetClipboardSequenceNumber();
    Type(L"0");
    Key(VK_HOME, {VK_SHIFT});
    for (const wchar_t key : {L'V', L'C', L'X', L'Z'}) Key(key, {VK_CONTROL});
    Key(VK_END);
    Type(L"1");
    EXPECT_TRUE(Shows(txtCurPrice, L"1.501"));
    EXPECT_EQ(GetClipboardSequenceNumber(), before);
    ASSERT_TRUE(PutOnClipboard("ab"));
    Key(VK_INSERT, {VK_SHIFT});
    EXPECT_TRUE(Shows(txtCurPrice, L"1.501ab"));
    // Home, Delete, End and the arrows edit as in any text box.
    for (const WORD key : {VK_HOME, VK_DELETE, VK_RIGHT, VK_DOWN}) Key(key);
    Type(L"9");
    for (const WORD key : {VK_END, VK_UP, VK_BACK}) Key(key);
    EXPECT_TRUE(Shows(txtCurPrice, L".5901b"));
}

TEST_F(Tavirel, EachButtonClickedOrPressedBySpaceCalculatesOrCarriesAResultForwardAsTextOrChangesNothingSilently) {
    // The texts another program sets first (none: as they are), the button clicked, or reached from the price box by Tab
    // (Shift+Tab when negative) and pressed by Space, and the texts afterwards (none: as set, and no message shows).
    const struct { const wchar_t* set[3]; Id button; int tabs; const wchar_t* after; } presses[] = {
        {{L"10", L"", L""}, Command1, 0, L"10 11 9"}, {{}, cmdGetZT, -1, L"11 12.1 9.9"}, {{}, cmdGetDT, 0, L"9.9 10.89 8.91"},
        {{}, Option2, 0, L"9.9 10.89 8.91"}, {{}, Command1, 2, L"9.9 10.39 9.4"}, {{}, cmdGetDT, -2, L"9.4 9.87 8.93"},
        {{L"9.4", L"012.10", L"8.93"}, cmdGetZT, 0, L"012.10 12.71 11.49"},  // the text is carried, not its value
        {{L"", L"11", L"9"}, Command1, 0, nullptr}, {{L"1..2", L"11", L"9"}, Command1, 0, nullptr},
        {{L"10", L"", L"9"}, cmdGetZT, 0, nullptr}, {{L"10", L"0", L"9"}, cmdGetZT, 0, nullptr},
        {{L"10", L"11", L""}, cmdGetDT, 0, nullptr}, {{L"10", L"11", L"0"}, cmdGetDT, 0, nullptr},
        {{L"1e99", L"11", L"9"}, Command1, 0, nullptr}};
    for (const auto& [set, button, tabs, after] : presses) {
        for (int i = 0; set[0] && i < 3; ++i) p.SetText(kBoxes[i], set[i]);
        if (tabs != 0) Click(p[txtCurPrice]);
        for (int i = 0; i < std::abs(tabs); ++i) tabs > 0 ? Key(VK_TAB) : Key(VK_TAB, {VK_SHIFT});
        tabs == 0 ? Click(p[button]) : Key(VK_SPACE);
        if (after == nullptr) {  // the price box clicked next, input being handled in order, takes the focus unless a message shows
            ASSERT_TRUE(FocusIn(button));
            Click(p[txtCurPrice]);
            ASSERT_TRUE(FocusIn(txtCurPrice)) << "a message after pressing " << button;
        }
        EXPECT_TRUE(ShowTexts(after ? after : std::wstring(set[0]) + L" " + set[1] + L" " + set[2])) << button << " after " << tabs << " tabs";
    }
    Click(p[Option1]);  // the 10% band again, for the cases that follow
    ASSERT_TRUE(WaitUntil([] { return p.Checked(Option1); }));
    for (int i = 0; kStress && i < 10000; ++i) {
        p.SetText(txtCurPrice, i % 2 ? L"3.33" : L"10");
        SendMessageW(p[i % 7 ? Command1 : cmdGetZT], BM_CLICK, 0, 0);
        if (i % 500 == 1 && i % 7 != 0) { ASSERT_EQ(p.Text(txtZTPrice) + L" " + p.Text(txtDTPrice), L"3.66 3") << i; }  // 3.33 calculated
    }
}

// Whether the screen shows this icon in the window: drawn here over the colour around it there, every pixel the same.
bool ShowsIcon(HWND window, HICON icon) {
    const Screenshot shown(window);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, CreateBitmap(shown.width, shown.height, 1, 32, nullptr));
    for (int i = 0; i < shown.width * shown.height; ++i) SetPixelV(dc, i % shown.width, i / shown.width, shown(0, 0));
    DrawIconEx(dc, 0, 0, icon, shown.width, shown.height, 0, nullptr, DI_NORMAL);
    int wrong = 0;
    for (int i = 0; i < shown.width * shown.height; ++i) wrong += GetPixel(dc, i % shown.width, i / shown.width) != shown(i % shown.width, i / shown.width);
    DeleteObject(SelectObject(dc, old));
    DeleteDC(dc);
    return shown.width > 0 && wrong == 0;
}

// A message box as "title|text|buttons", with "+icon" once the screen shows that icon in it.
std::wstring Message(HWND box, const wchar_t* icon) {
    wchar_t title[16] = {}, text[64] = {};
    GetWindowTextW(box, title, 16);
    int buttons = 0, icons = 0;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t kind[16] = {};
        GetClassNameW(child, kind, 16);
        buttons += IsWindowVisible(child) && wcscmp(kind, L"Button") == 0;
        if (wcscmp(kind, L"Static") != 0) continue;
        if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) GetWindowTextW(child, text, 64);
        else icons += WaitUntil([&] { return ShowsIcon(child, LoadIconW(nullptr, icon)); });
    }
    return std::wstring(title) + L"|" + text + L"|" + std::to_wstring(buttons) + std::wstring(icons, L'+') + (icons ? L"icon" : L"");
}

TEST_F(Tavirel, APriceNotAboveZeroShowsItsMessageOwnedByTheWindowEvenFromBehindAndKeepsTheResults) {
    for (const Id box : {txtZTPrice, txtDTPrice}) p.SetText(box, L"9");  // results to keep
    Enter(txtCurPrice, L"0.00");
    // Another window in front and the click notified by an automation tool: the window is not active when the message shows.
    HWND front = InFront();
    PostMessageW(p.Window(), WM_COMMAND, MAKEWPARAM(ChildId(Command1), BN_CLICKED), reinterpret_cast<LPARAM>(p[Command1]));
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = p.Dialog()) != nullptr; }));
    EXPECT_EQ(Message(box, IDI_INFORMATION), L"提示|价格必须大于 0|1+icon") << "on a desktop at " << Desktop();
    EXPECT_EQ(GetWindow(box, GW_OWNER), p.Window());
    EXPECT_FALSE(IsWindowEnabled(p.Window()));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntil([] { return p.Dialog() == nullptr && IsWindowEnabled(p.Window()); }));
    DestroyWindow(front);
    EXPECT_EQ(Texts(), L"0.00 9 9");
}

TEST_F(Tavirel, EachResultBoxTakesAnyKeyKeepsOnlyANumberAndCopiesItOnADoubleClickWhenPositive) {
    for (const auto& [box, number] : {std::pair{txtZTPrice, std::wstring(L"12.1")}, std::pair{txtDTPrice, std::wstring(L"9.9")}}) {
        SCOPED_TRACE(::testing::Message() << box);
        p.SetText(box, number);
        DWORD before = GetClipboardSequenceNumber();
        Click(p[box], 2);
        ASSERT_TRUE(WaitUntil([&] { return GetClipboardSequenceNumber() != before; }));
        EXPECT_EQ(ClipboardText(), std::string(number.begin(), number.end()));
        EXPECT_EQ(GetClipboardOwner(), p.Window());
        // No key is filtered: a number stays, and a text that is not one empties the box, which then stays empty.
        Key(VK_HOME);
        Type(L"-");
        EXPECT_TRUE(Shows(box, L"-" + number));
        Key(VK_END);
        Type(L"x");
        EXPECT_TRUE(Shows(box, L""));
        // Empty or 0, nothing is copied, while nobody holds the clipboard.
        for (const std::wstring nothing : {L"", L"0"}) {
            Enter(box, nothing);
            before = GetClipboardSequenceNumber();
            Click(p[box], 2);
            Key(VK_END);
            Type(L"7");  // handled after the double-click: input is handled in order
            EXPECT_TRUE(Shows(box, nothing + L"7"));
            EXPECT_EQ(GetClipboardSequenceNumber(), before) << "copied from \"" << nothing << "\"";
        }
    }
    // Another program holds the clipboard. Released once the program is seen retrying (it answers nothing meanwhile),
    // the copy is made; held throughout, the clipboard stays as it was, and the program neither hangs nor complains.
    for (const bool released : {true, false}) {
        const DWORD before = GetClipboardSequenceNumber();
        ASSERT_TRUE(OpenClipboard(ClipboardWindow()));
        Click(p[txtDTPrice], 2);
        EXPECT_TRUE(!released || WaitUntil([] { return !p.Responsive(50); })) << "the program did not wait for the clipboard";
        if (!released) Enter(txtCurPrice, L"7");  // handled after the double-click: input is handled in order
        CloseClipboard();
        EXPECT_EQ(WaitUntil([&] { return GetClipboardSequenceNumber() != before; }, released ? 5000 : 0), released);
        EXPECT_EQ(ClipboardText(), "07");
    }
}

TEST_F(Tavirel, BackInFrontTheWindowGivesTheFocusBackToTheControlThatHadIt) {
    Click(p[txtDTPrice]);
    for (const Id id : {txtDTPrice, cmdGetDT}) {  // cmdGetDT two tabs on from txtDTPrice
        for (int i = 0; id == cmdGetDT && i < 2; ++i) Key(VK_TAB);
        ASSERT_TRUE(FocusIn(id));
        HWND front = InFront();
        EXPECT_TRUE(front && WaitUntil([&] { return p.Focus() != p[id]; }) && p.Activate() && FocusIn(id)) << id;
        DestroyWindow(front);
    }
}

TEST_F(Tavirel, EachButtonStateIsPaintedInItsFace) {
    if (!DesktopAsWorkedOut()) GTEST_SKIP() << "needs a desktop at 96 DPI in 24- or 32-bit colour, not " << Desktop();
    HWND button = p[cmdGetZT];
    // As the user reaches them, each unlike the one before: the focus elsewhere, then given by Shift+Tab, Space held down
    // and let go, the mouse held down and let go; disabled only as another program would: the program never disables one.
    const std::pair<void (*)(), face_rows::Face> steps[] = {
        {[] { Click(p[txtCurPrice]); }, face_rows::kNormal}, {[] { Key(VK_TAB, {VK_SHIFT}); }, face_rows::kFocused},
        {[] { Send({KeyInput(VK_SPACE, 0)}); }, face_rows::kPressed}, {[] { Send({KeyInput(VK_SPACE, KEYEVENTF_KEYUP)}); }, face_rows::kFocused},
        {[] { MouseDown(p[cmdGetZT]); }, face_rows::kPressed}, {MouseUp, face_rows::kFocused},
        {[] { EnableWindow(p[cmdGetZT], FALSE); }, face_rows::kDisabled}};
    int soaked = 0;  // under stress, each face painted 70,000 times once
    for (size_t i = 0; i < std::size(steps); ++i) {
        const face_rows::Face face = steps[i].second;
        steps[i].first();
        for (int n = 0; kStress && !(soaked & 1 << face) && n < 70000; ++n) InvalidateRect(button, nullptr, FALSE), SendMessageW(button, WM_PAINT, 0, 0);
        soaked |= 1 << face;
        int wrong = -1;  // pixels unlike the face's, -1 for a button of another size
        WaitUntil([&] { const Screenshot shot(button); return (wrong = shot.width == face_rows::kWidth ? face_rows::Mismatches(face, shot) : -1) == 0; });
        EXPECT_EQ(wrong, 0) << "face " << face << " at step " << i << ", state " << SendMessageW(button, BM_GETSTATE, 0, 0) << ", on a desktop at " << Desktop();
    }
    EnableWindow(button, TRUE);
}

TEST_F(Tavirel, AnUntrappedErrorShowsTheRuntimesMessageOwnedByTheWindowAndEndsTheProgramWithCode1) {
    std::jthread sender;  // its message is answered by no one: it returns once the program has ended
    Program other;        // started anew, so that the shared program is unaffected
    ASSERT_TRUE(other.Start());
    // A face wider than 32 bits can measure: its paint raises Overflow, which no handler traps.
    DRAWITEMSTRUCT item{ODT_BUTTON, ChildId(Command1), 0, ODA_DRAWENTIRE, 0, other[Command1], nullptr, {INT_MIN, 0, INT_MAX, 25}, 0};
    sender = std::jthread([to = other.Window(), item]() mutable { SendMessageW(to, WM_DRAWITEM, ChildId(Command1), reinterpret_cast<LPARAM>(&item)); });
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = other.Dialog()) != nullptr; }));
    EXPECT_EQ(Message(box, IDI_ERROR), L"Tavirel|Run-time error '6':\n\nOverflow|1+icon") << "on a desktop at " << Desktop();
    EXPECT_EQ(GetWindow(box, GW_OWNER), other.Window());
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    DWORD code = 0;
    EXPECT_TRUE(WaitForSingleObject(other.Process(), 10000) == WAIT_OBJECT_0 && GetExitCodeProcess(other.Process(), &code) && code == 1) << code;
}

TEST_F(Tavirel, SurvivesTheLongestTextPastedIntoThePriceAndAResultBox) {
    const std::string digits(32767, '9');
    ASSERT_TRUE(PutOnClipboard(digits));
    for (const Id box : {txtCurPrice, txtZTPrice}) {
        Enter(box, L"");
        Key(VK_INSERT, {VK_SHIFT});
        EXPECT_TRUE(WaitUntil([box] { return p.Text(box).size() == 32767; }, 60000));
    }
    Click(p[Command1]);  // a price beyond single precision: refused silently
    const DWORD before = GetClipboardSequenceNumber();
    Click(p[txtZTPrice], 2);
    EXPECT_TRUE(WaitUntil([&] { return GetClipboardSequenceNumber() != before; }, 20000));
    EXPECT_EQ(ClipboardText(), digits);
    const std::wstring hostile[] = {L"1" + std::wstring(400, L'0'), L"1e99999999999", L"1e-400", L"-0", L".",
                                    L"3.0934761551103933e+38", std::wstring(5000, L'.'), L"\xD800", L"\uFF11", L"-1e400"};
    for (const std::wstring& text : kStress ? std::span<const std::wstring>(hostile) : std::span<const std::wstring>()) {
        for (const Id box : kBoxes) p.SetText(box, text);
        for (const Id target : {Command1, cmdGetZT, cmdGetDT, txtZTPrice}) {  // three clicks and a double-click
            // Returns even when the click opens the price message.
            SendMessageTimeoutW(p[target], target == txtZTPrice ? WM_LBUTTONDBLCLK : BM_CLICK, 0, 0, SMTO_NORMAL, 2000, nullptr);
            if (HWND message = p.Dialog()) PostMessageW(message, WM_COMMAND, IDOK, 0);
            ASSERT_TRUE(WaitUntil([] { return p.Dialog() == nullptr; }));
        }
        SendMessageW(p[txtZTPrice], WM_LBUTTONUP, 0, 0);
    }
    EXPECT_TRUE(p.Responsive());
    EXPECT_TRUE(p.Close());
}

}  // namespace
