// The real program, started once and used through real keys and clicks.
// The cases run in order on the one program, each from the state it sets.
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/driver.h"
#include "tests/win/face_rows.h"

namespace {

using namespace driver;

class Tavirel : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(program_.Start()) << "the program did not start"; }
    void SetUp() override {
        ASSERT_TRUE(program_.Alive());
        ASSERT_TRUE(program_.Activate());
    }
    void TearDown() override {
        if (!program_.Alive()) return;  // closed by the test, or caught by the next one's SetUp
        EXPECT_TRUE(program_.Responsive());
        EXPECT_EQ(program_.Dialog(), nullptr) << "a message box is open";
    }
    static HWND At(Id id) { return program_.Control(id); }
    static bool TextBecomes(Id id, const std::wstring& text) {
        return WaitUntil([&] { return program_.Text(id) == text; });
    }
    static bool FocusBecomes(Id id) {
        return WaitUntil([&] { return program_.Focus() == At(id); });
    }
    // Empties a box with real keys: a click, then End and Backspace.
    static void ClearBox(Id id) {
        Click(At(id));
        ASSERT_TRUE(FocusBecomes(id));
        while (!program_.Text(id).empty()) {
            Key(VK_END);
            for (size_t i = program_.Text(id).size(); i > 0; --i) Key(VK_BACK);
            WaitUntil([&] { return program_.Text(id).empty(); });
        }
    }
    // Everything typed and clicked so far has been handled: input is handled
    // in order, and a digit typed now shows in the price box.
    static void Settle() {
        ClickAtEnd(At(txtCurPrice));
        const std::wstring before = program_.Text(txtCurPrice);
        Type(L"7");
        ASSERT_TRUE(TextBecomes(txtCurPrice, before + L"7"));
        Key(VK_BACK);
        ASSERT_TRUE(TextBecomes(txtCurPrice, before));
    }
    static void Calculate(const std::wstring& price) {
        ClearBox(txtCurPrice);
        Type(price);
        ASSERT_TRUE(TextBecomes(txtCurPrice, price));
        Click(At(Command1));
    }
    static Program program_;
};
Program Tavirel::program_;

TEST_F(Tavirel, StartsEmptyAndTheKeyboardWalksTheTabOrder) {
    for (const Id box : {txtCurPrice, txtZTPrice, txtDTPrice}) EXPECT_EQ(program_.Text(box), L"");
    EXPECT_TRUE(program_.Checked(Option1));
    EXPECT_FALSE(program_.Checked(Option2));
    ASSERT_TRUE(FocusBecomes(txtCurPrice));
    for (const Id next : {Option1, Command1, txtDTPrice, txtZTPrice, cmdGetDT, cmdGetZT, txtCurPrice}) {
        Key(VK_TAB);
        EXPECT_TRUE(FocusBecomes(next)) << "Tab should reach control " << next;
    }
    Key(VK_TAB, {VK_SHIFT});
    EXPECT_TRUE(FocusBecomes(cmdGetZT));
    Key(VK_TAB);
    Key(VK_TAB);
    ASSERT_TRUE(FocusBecomes(Option1));
    Key(VK_RIGHT);
    EXPECT_TRUE(FocusBecomes(Option2));
    EXPECT_TRUE(WaitUntil([] { return program_.Checked(Option2) && !program_.Checked(Option1); }));
    Key(VK_LEFT);
    EXPECT_TRUE(WaitUntil([] { return program_.Checked(Option1) && !program_.Checked(Option2); }));
    // Enter and Escape press no button, from an option or from a text box.
    Key(VK_RETURN);
    Key(VK_ESCAPE);
    Key(VK_TAB, {VK_SHIFT});
    ASSERT_TRUE(FocusBecomes(txtCurPrice));
    Type(L"10");
    Key(VK_RETURN);
    Key(VK_ESCAPE);
    Type(L"5");
    EXPECT_TRUE(TextBecomes(txtCurPrice, L"105"));
    EXPECT_EQ(program_.Text(txtZTPrice), L"");
    EXPECT_EQ(program_.Text(txtDTPrice), L"");
}

TEST_F(Tavirel, ThePriceBoxTakesDigitsPointAndBackspaceOnlyButPastesAnything) {
    ClearBox(txtCurPrice);
    Type(L"1a-, +.5x\u00BD\uFF11.");
    EXPECT_TRUE(TextBecomes(txtCurPrice, L"1.5."));
    Key(VK_BACK);
    ASSERT_TRUE(PutOnClipboard("99"));
    Key('V', {VK_CONTROL});
    Type(L"0");
    EXPECT_TRUE(TextBecomes(txtCurPrice, L"1.50"));
    ASSERT_TRUE(PutOnClipboard("ab"));
    Key(VK_INSERT, {VK_SHIFT});
    EXPECT_TRUE(TextBecomes(txtCurPrice, L"1.50ab"));
}

TEST_F(Tavirel, CalculatesCarriesResultsForwardAsTextAndGuardsTheResultBoxes) {
    Calculate(L"10");
    EXPECT_TRUE(TextBecomes(txtZTPrice, L"11"));
    EXPECT_TRUE(TextBecomes(txtDTPrice, L"9"));
    Click(At(cmdGetZT));
    EXPECT_TRUE(TextBecomes(txtDTPrice, L"9.9"));
    EXPECT_EQ(program_.Text(txtCurPrice), L"11");
    EXPECT_EQ(program_.Text(txtZTPrice), L"12.1");
    Click(At(Option2));  // the results stay until the next calculation
    ASSERT_TRUE(WaitUntil([] { return program_.Checked(Option2); }));
    EXPECT_EQ(program_.Text(txtZTPrice), L"12.1");
    Click(At(cmdGetDT));
    EXPECT_TRUE(TextBecomes(txtZTPrice, L"10.39"));
    EXPECT_TRUE(TextBecomes(txtDTPrice, L"9.4"));
    // A result typed by the user is carried as typed.
    ClearBox(txtZTPrice);
    Type(L"012.10");
    ASSERT_TRUE(TextBecomes(txtZTPrice, L"012.10"));
    Click(At(cmdGetZT));
    EXPECT_TRUE(TextBecomes(txtZTPrice, L"12.71"));
    EXPECT_EQ(program_.Text(txtCurPrice), L"012.10");
    EXPECT_EQ(program_.Text(txtDTPrice), L"11.49");
    // A letter after a number empties the box; an emptied box stays empty.
    ClickAtEnd(At(txtZTPrice));
    Type(L"x");
    EXPECT_TRUE(TextBecomes(txtZTPrice, L""));
    ClearBox(txtDTPrice);
    Settle();
    EXPECT_EQ(program_.Text(txtDTPrice), L"");
    Click(At(Option1));
}

// Whether the screen shows this icon in the window: the icon is drawn here
// over black and over white, and every pixel that comes out the same on both
// (it is opaque) must be on the screen.
bool ShowsIcon(HWND window, HICON icon) {
    int width = 0, height = 0;
    const std::vector<COLORREF> shown = ScreenPixels(window, width, height);
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(width, height * 2, 1, 32, nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    PatBlt(dc, 0, 0, width, height, BLACKNESS);
    PatBlt(dc, 0, height, width, height, WHITENESS);
    DrawIconEx(dc, 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
    DrawIconEx(dc, 0, height, icon, width, height, 0, nullptr, DI_NORMAL);
    int opaque = 0, same = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF onBlack = GetPixel(dc, x, y);
            if (onBlack != GetPixel(dc, x, y + height)) continue;
            ++opaque;
            same += shown[y * width + x] == onBlack;
        }
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return opaque > width * height / 4 && same == opaque;
}

TEST_F(Tavirel, APriceNotAboveZeroShowsItsMessageOwnedByTheWindowEvenFromBehind) {
    Calculate(L"10");
    ASSERT_TRUE(TextBecomes(txtDTPrice, L"9"));
    ClearBox(txtCurPrice);
    Type(L"0.00");
    ASSERT_TRUE(TextBecomes(txtCurPrice, L"0.00"));
    // Another window in front; the click comes from an automation tool.
    HWND front = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"front", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                                 nullptr, nullptr, nullptr);
    SetForegroundWindow(front);
    PostMessageW(At(Command1), BM_CLICK, 0, 0);
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = program_.Dialog()) != nullptr; }));
    wchar_t title[32] = {}, text[64] = {};
    GetWindowTextW(box, title, 32);
    EXPECT_STREQ(title, L"提示");
    int buttons = 0;
    bool informationIcon = false;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t kind[32] = {};
        GetClassNameW(child, kind, 32);
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        if (!IsWindowVisible(child)) continue;
        if (wcscmp(kind, L"Button") == 0) ++buttons;
        if (wcscmp(kind, L"Static") == 0 && (style & SS_TYPEMASK) == SS_ICON) {
            informationIcon = WaitUntil([child] { return ShowsIcon(child, LoadIconW(nullptr, IDI_INFORMATION)); });
        } else if (wcscmp(kind, L"Static") == 0) {
            GetWindowTextW(child, text, 64);
        }
    }
    EXPECT_STREQ(text, L"价格必须大于 0");
    EXPECT_EQ(buttons, 1);
    EXPECT_TRUE(informationIcon);
    EXPECT_EQ(GetWindow(box, GW_OWNER), program_.Window());
    EXPECT_FALSE(IsWindowEnabled(program_.Window()));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntil([] { return program_.Dialog() == nullptr && IsWindowEnabled(program_.Window()); }));
    DestroyWindow(front);
    EXPECT_EQ(program_.Text(txtZTPrice), L"11");
    EXPECT_EQ(program_.Text(txtDTPrice), L"9");
}

TEST_F(Tavirel, ADoubleClickCopiesAPositiveResultAsPlainTextAlone) {
    Calculate(L"11");
    ASSERT_TRUE(TextBecomes(txtZTPrice, L"12.1"));
    ASSERT_TRUE(PutOnClipboard("before"));
    DoubleClick(At(txtZTPrice));
    ASSERT_TRUE(WaitUntil([] { return !ClipboardHasMark(); }));
    EXPECT_EQ(ClipboardText(), "12.1");
    EXPECT_EQ(GetClipboardOwner(), program_.Window());
    for (const UINT format : ClipboardFormats()) {  // the others are made from CF_TEXT by the system
        EXPECT_TRUE(format == CF_TEXT || format == CF_UNICODETEXT || format == CF_OEMTEXT || format == CF_LOCALE)
            << "format " << format;
    }
    // Nothing positive to copy, or a clipboard another program holds open:
    // the clipboard stays as it was, and the program neither hangs nor complains.
    ASSERT_TRUE(PutOnClipboard("before"));
    ClearBox(txtDTPrice);
    Type(L"0");
    DoubleClick(At(txtDTPrice));
    Settle();
    ASSERT_TRUE(OpenClipboard(ClipboardWindow()));
    DoubleClick(At(txtZTPrice));
    Settle();
    CloseClipboard();
    EXPECT_TRUE(ClipboardHasMark());
    EXPECT_EQ(ClipboardText(), "before");
}

TEST_F(Tavirel, EachButtonStateIsPaintedInItsFace) {
    HWND button = At(cmdGetZT);
    const auto showsFace = [button](face_rows::Face face) {
        return WaitUntil([&] {
            int width = 0, height = 0;
            const auto pixels = ScreenPixels(button, width, height);
            if (width != face_rows::kWidth || height != face_rows::kHeight) return false;
            for (int y = 0; y < height; ++y) {
                for (int x = 0; x < width; ++x) {
                    if (!face_rows::UnderCaption(x, y) && pixels[y * width + x] != face_rows::Expected(face, x, y)) {
                        return false;
                    }
                }
            }
            return true;
        });
    };
    Click(At(txtCurPrice));
    EXPECT_TRUE(showsFace(face_rows::kNormal));
    Key(VK_TAB, {VK_SHIFT});
    EXPECT_TRUE(showsFace(face_rows::kFocused));
    MouseDown(button);
    EXPECT_TRUE(showsFace(face_rows::kPressed));
    MouseUp();
    EnableWindow(button, FALSE);
    EXPECT_TRUE(showsFace(face_rows::kDisabled));
    EnableWindow(button, TRUE);
}

TEST_F(Tavirel, SurvivesTheLongestTextPastedIntoThePriceAndAResultBox) {
    const std::string digits(32767, '9');
    ASSERT_TRUE(PutOnClipboard(digits));
    for (const Id box : {txtCurPrice, txtZTPrice}) {
        ClearBox(box);
        Key(VK_INSERT, {VK_SHIFT});
        EXPECT_TRUE(WaitUntil([box] { return program_.Text(box).size() == 32767; }, 60000));
    }
    Click(At(Command1));  // a price beyond single precision: refused silently
    ASSERT_TRUE(PutOnClipboard("before"));
    DoubleClick(At(txtZTPrice));
    EXPECT_TRUE(WaitUntil([] { return !ClipboardHasMark(); }, 20000));
    EXPECT_EQ(ClipboardText(), digits);
    EXPECT_EQ(program_.Text(txtZTPrice).size(), 32767u);
    EXPECT_TRUE(program_.Responsive());
    EXPECT_TRUE(program_.Close());
}

}  // namespace
