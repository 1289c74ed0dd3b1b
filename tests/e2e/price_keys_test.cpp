// What typing does in the price box: digits, points and backspace get
// through; other characters are dropped without a trace; the editing keys
// keep working; paste with Shift+Insert is not filtered, Ctrl+V is.
#include <functional>

#include "tests/e2e/clipboard_access.h"
#include "tests/e2e/program_test.h"

namespace e2e {
namespace {

class PriceKeys : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_TRUE(PutOnClipboard(kClipboardText));
        ASSERT_NO_FATAL_FAILURE(ClickIntoAndClear(Id::txtCurPrice));
    }

    // The price box holds exactly `text`, and the clipboard what was put there.
    void Type(const std::wstring& text, const std::wstring& expected) {
        TypeText(text);
        ASSERT_TRUE(TextBecomes(Id::txtCurPrice, expected));
    }

    static constexpr const wchar_t* kClipboardText = L"abc12";
};

struct DroppedKey {
    const char* name;
    std::function<void()> press;
};

TEST_F(PriceKeys, OtherCharactersAreDroppedWithBoxAndCaretUnchanged) {
    const DroppedKey keys[] = {
        {"a", [] { TypeText(L"a"); }},
        {"A key", [] { Press('A'); }},
        {"-", [] { TypeText(L"-"); }},
        {"space", [] { Press(VK_SPACE); }},
        {",", [] { TypeText(L","); }},
        {"Enter", [] { Press(VK_RETURN); }},
        {"Escape", [] { Press(VK_ESCAPE); }},
        {"Ctrl+C", [] { Press('C', {VK_CONTROL}); }},
        {"Ctrl+V", [] { Press('V', {VK_CONTROL}); }},
        {"Ctrl+X", [] { Press('X', {VK_CONTROL}); }},
        {"Ctrl+Z", [] { Press('Z', {VK_CONTROL}); }},
    };
    for (const DroppedKey& key : keys) {
        SCOPED_TRACE(key.name);

        // Caret between two digits: a character that got through would show
        // before the 3 typed after it.
        ASSERT_NO_FATAL_FAILURE(ClickIntoAndClear(Id::txtCurPrice));
        ASSERT_NO_FATAL_FAILURE(Type(L"12", L"12"));
        Press(VK_HOME);
        Press(VK_RIGHT);
        key.press();
        ASSERT_NO_FATAL_FAILURE(Type(L"3", L"132"));

        // All of the text selected: a character, a cut, a paste or an undo
        // that got through would replace or remove it.
        ASSERT_NO_FATAL_FAILURE(ClickIntoAndClear(Id::txtCurPrice));
        ASSERT_NO_FATAL_FAILURE(Type(L"12", L"12"));
        Press(VK_HOME, {VK_SHIFT});
        key.press();
        Press(VK_END);
        ASSERT_NO_FATAL_FAILURE(Type(L"3", L"123"));

        EXPECT_EQ(ClipboardUnicodeText().value_or(L"<none>"), kClipboardText) << "the clipboard changed";
        EXPECT_TRUE(NoDialogShown());
        EXPECT_TRUE(ResultsAre(L"", L"")) << "a button was pressed";
    }
}

TEST_F(PriceKeys, DigitsAndPointsGetThroughAsTyped) {
    const wchar_t* typed[] = {L"1.5.", L"0123456789", L"..", L"007.50"};
    for (const wchar_t* text : typed) {
        SCOPED_TRACE(Narrow(text));
        ASSERT_NO_FATAL_FAILURE(ClickIntoAndClear(Id::txtCurPrice));
        ASSERT_NO_FATAL_FAILURE(Type(text, text));
    }
}

TEST_F(PriceKeys, EditingKeysKeepWorking) {
    ASSERT_NO_FATAL_FAILURE(Type(L"123", L"123"));
    Press(VK_HOME);
    Press(VK_DELETE);
    ASSERT_TRUE(TextBecomes(Id::txtCurPrice, L"23"));
    Press(VK_END);
    Press(VK_BACK);
    ASSERT_TRUE(TextBecomes(Id::txtCurPrice, L"2"));

    ASSERT_NO_FATAL_FAILURE(Type(L"45", L"245"));
    Press(VK_LEFT);
    Press(VK_LEFT);
    Press(VK_BACK);  // the 2
    ASSERT_TRUE(TextBecomes(Id::txtCurPrice, L"45"));
    Press(VK_RIGHT);
    Press(VK_DELETE);  // the 5
    ASSERT_TRUE(TextBecomes(Id::txtCurPrice, L"4"));
    Press(VK_HOME);
    ASSERT_NO_FATAL_FAILURE(Type(L"9", L"94"));
}

TEST_F(PriceKeys, ShiftInsertPastesUnfilteredWhileCtrlVDoesNothing) {
    Press('V', {VK_CONTROL});
    ASSERT_NO_FATAL_FAILURE(Type(L"7", L"7")) << "Ctrl+V pasted";

    Press(VK_INSERT, {VK_SHIFT});
    ASSERT_TRUE(TextBecomes(Id::txtCurPrice, L"7abc12"));

    // What was pasted is a price like any other: not a number, so 计算 does
    // nothing with it.
    Calculate();
    ASSERT_NO_FATAL_FAILURE(Settle());
    EXPECT_TRUE(ResultsAre(L"", L""));
    EXPECT_TRUE(NoDialogShown());
}

}  // namespace
}  // namespace e2e
