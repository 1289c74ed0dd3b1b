// Keyboard use of the calculator window with real key strokes: the tab
// order, the option group, and Enter and Escape pressing nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "window_harness.h"

namespace {

using harness::FocusedControlName;
using harness::PressKey;

class WindowKeyboard : public ::testing::Test {
protected:
    harness::Form1Session session;

    bool FocusIs(const std::wstring& name) {
        return harness::PumpUntil([&] { return FocusedControlName() == name; });
    }
};

// The limit-down box and button come before the limit-up ones, although
// they stand to their right.
const std::vector<std::wstring> kTabOrder = {L"txtCurPrice", L"Option1",  L"Command1", L"txtDTPrice",
                                             L"txtZTPrice",  L"cmdGetDT", L"cmdGetZT"};

TEST_F(WindowKeyboard, TabWalksTheTabOrderAndComesRound) {
    ASSERT_TRUE(FocusIs(L"txtCurPrice"));
    for (size_t step = 1; step <= kTabOrder.size(); ++step) {
        PressKey(VK_TAB);
        EXPECT_TRUE(FocusIs(kTabOrder[step % kTabOrder.size()])) << "after " << step << " Tab(s) the focus is in "
                                                                 << testing::PrintToString(FocusedControlName());
    }
}

TEST_F(WindowKeyboard, ShiftTabWalksItBackwards) {
    ASSERT_TRUE(FocusIs(L"txtCurPrice"));
    for (size_t step = 1; step <= kTabOrder.size(); ++step) {
        PressKey(VK_TAB, /*shift=*/true);
        EXPECT_TRUE(FocusIs(kTabOrder[(kTabOrder.size() - step) % kTabOrder.size()])) << "step " << step;
    }
}

TEST_F(WindowKeyboard, TabEntersTheOptionGroupAtTheSelectedOption) {
    SendMessageW(session.Control(L"Option2"), BM_CLICK, 0, 0);
    ASSERT_TRUE(session.form().Value(L"Option2"));
    SetFocus(session.Control(L"txtCurPrice"));
    PressKey(VK_TAB);
    EXPECT_TRUE(FocusIs(L"Option2"));
    PressKey(VK_TAB);
    EXPECT_TRUE(FocusIs(L"Command1")) << "one stop for the whole group";
}

TEST_F(WindowKeyboard, ArrowKeysMoveWithinTheOptionGroupAndSelect) {
    struct Step {
        WORD key;
        const wchar_t* focused;
    };
    const Step steps[] = {{VK_RIGHT, L"Option2"}, {VK_LEFT, L"Option1"}, {VK_DOWN, L"Option2"},
                          {VK_DOWN, L"Option1"},  {VK_UP, L"Option2"}};
    SetFocus(session.Control(L"Option1"));
    ASSERT_TRUE(FocusIs(L"Option1"));
    for (const Step& step : steps) {
        PressKey(step.key);
        EXPECT_TRUE(FocusIs(step.focused));
        // Exactly one of the pair is selected: the focused one.
        const bool first = std::wstring(step.focused) == L"Option1";
        EXPECT_EQ(session.form().Value(L"Option1"), first);
        EXPECT_EQ(session.form().Value(L"Option2"), !first);
    }
}

TEST_F(WindowKeyboard, SelectingOneOptionClearsTheOther) {
    SendMessageW(session.Control(L"Option2"), BM_CLICK, 0, 0);
    EXPECT_FALSE(session.form().Value(L"Option1"));
    EXPECT_TRUE(session.form().Value(L"Option2"));
    SendMessageW(session.Control(L"Option1"), BM_CLICK, 0, 0);
    EXPECT_TRUE(session.form().Value(L"Option1"));
    EXPECT_FALSE(session.form().Value(L"Option2"));
}

TEST_F(WindowKeyboard, EnterAndEscapePressNoButtonAnywhere) {
    // With a price in place, a press of any button would show results.
    session.form().SetText(L"txtCurPrice", L"10");
    for (const wchar_t* where : {L"txtCurPrice", L"Option1", L"Command1", L"txtZTPrice", L"cmdGetZT", L"cmdGetDT"}) {
        SetFocus(session.Control(where));
        ASSERT_TRUE(FocusIs(where));
        PressKey(VK_RETURN);
        PressKey(VK_ESCAPE);
        EXPECT_EQ(session.form().Text(L"txtZTPrice"), L"") << "pressed in " << testing::PrintToString(std::wstring(where));
        EXPECT_EQ(session.form().Text(L"txtDTPrice"), L"");
        EXPECT_EQ(session.form().Text(L"txtCurPrice"), L"10");
    }
    // The same price with a real Space on the focused Command1 does calculate.
    SetFocus(session.Control(L"Command1"));
    PressKey(VK_SPACE);
    EXPECT_TRUE(harness::PumpUntil([&] { return session.form().Text(L"txtZTPrice") == L"11"; }));
}

}  // namespace
