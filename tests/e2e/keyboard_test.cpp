// Getting around with the keyboard: Tab and Shift+Tab in the window's order,
// the arrow keys within the two options, and Enter and Escape pressing no
// button anywhere.
#include <vector>

#include "tests/e2e/program_test.h"

namespace e2e {
namespace {

using Keyboard = ProgramTest;

TEST_F(Keyboard, TabAndShiftTabWalkTheWindowInItsOrder) {
    ASSERT_TRUE(FocusBecomes(Id::txtCurPrice));
    const std::vector<Id> forward = {Id::Option1,    Id::Command1, Id::txtDTPrice, Id::txtZTPrice,
                                     Id::cmdGetDT,   Id::cmdGetZT, Id::txtCurPrice};
    for (Id next : forward) {
        ASSERT_NO_FATAL_FAILURE(Activate());
        Press(VK_TAB);
        ASSERT_TRUE(FocusBecomes(next)) << "Tab";
    }
    const std::vector<Id> backward = {Id::cmdGetZT,   Id::cmdGetDT, Id::txtZTPrice, Id::txtDTPrice,
                                      Id::Command1,   Id::Option1,  Id::txtCurPrice};
    for (Id next : backward) {
        ASSERT_NO_FATAL_FAILURE(Activate());
        Press(VK_TAB, {VK_SHIFT});
        ASSERT_TRUE(FocusBecomes(next)) << "Shift+Tab";
    }
    EXPECT_TRUE(NoDialogShown());
}

TEST_F(Keyboard, TabReachesTheOptionGroupThroughItsSelectedOption) {
    ClickOn(Id::Option2);
    ASSERT_TRUE(Wait([&] { return program_.Checked(Id::Option2); }));
    ASSERT_NO_FATAL_FAILURE(Settle());
    Press(VK_TAB);
    ASSERT_TRUE(FocusBecomes(Id::Option2));
    Press(VK_TAB);
    ASSERT_TRUE(FocusBecomes(Id::Command1));
    Press(VK_TAB, {VK_SHIFT});
    ASSERT_TRUE(FocusBecomes(Id::Option2));
    Press(VK_TAB, {VK_SHIFT});
    ASSERT_TRUE(FocusBecomes(Id::txtCurPrice));
}

TEST_F(Keyboard, ArrowKeysMoveBetweenTheOptionsAndSelect) {
    Press(VK_TAB);
    ASSERT_TRUE(FocusBecomes(Id::Option1));
    struct Step {
        WORD key;
        const char* name;
        Id lands;
    };
    const Step steps[] = {
        {VK_RIGHT, "Right", Id::Option2},
        {VK_LEFT, "Left", Id::Option1},
        {VK_DOWN, "Down", Id::Option2},
        {VK_UP, "Up", Id::Option1},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        ASSERT_NO_FATAL_FAILURE(Activate());
        Press(step.key);
        ASSERT_TRUE(FocusBecomes(step.lands));
        const Id other = step.lands == Id::Option1 ? Id::Option2 : Id::Option1;
        EXPECT_TRUE(Wait([&] { return program_.Checked(step.lands) && !program_.Checked(other); }))
            << NameOf(step.lands) << " is not the one selected";
    }
    // Selecting with the arrows does not calculate.
    EXPECT_TRUE(ResultsAre(L"", L""));
}

// Enter and Escape wherever the focus is: no button is pressed, so the
// results and the price stay as they are and no message appears.
TEST_F(Keyboard, EnterAndEscapePressNoButton) {
    ASSERT_NO_FATAL_FAILURE(EnterPrice(L"10"));  // 计算 would show 11 and 9

    struct Place {
        const char* name;
        std::vector<WORD> tabs;  // from the price box; shifted when `back`
        bool back;
        Id focus;
        Id next;  // where a Tab from there goes
    };
    const Place before[] = {
        {"price box", {}, false, Id::txtCurPrice, Id::Option1},
        {"option", {VK_TAB}, false, Id::Option1, Id::Command1},
        {"计算", {VK_TAB, VK_TAB}, false, Id::Command1, Id::txtDTPrice},
    };
    auto tryKeys = [&](const Place& place, const std::wstring& up, const std::wstring& down) {
        SCOPED_TRACE(place.name);
        ClickAtEndOf(Id::txtCurPrice);
        ASSERT_TRUE(FocusBecomes(Id::txtCurPrice));
        for (WORD key : place.tabs) {
            if (place.back) {
                Press(key, {VK_SHIFT});
            } else {
                Press(key);
            }
        }
        ASSERT_TRUE(FocusBecomes(place.focus));
        Press(VK_RETURN);
        Press(VK_ESCAPE);
        Press(VK_RETURN);
        // The Tab after them arrives once they are handled.
        Press(VK_TAB);
        ASSERT_TRUE(FocusBecomes(place.next));
        EXPECT_TRUE(NoDialogShown());
        EXPECT_TRUE(ResultsAre(up, down));
        EXPECT_EQ(Narrow(Text(Id::txtCurPrice)), "10");
    };
    for (const Place& place : before) tryKeys(place, L"", L"");

    // With results, the two buttons below them would carry one forward.
    Calculate();
    ASSERT_TRUE(TextBecomes(Id::txtZTPrice, L"11"));
    ASSERT_TRUE(TextBecomes(Id::txtDTPrice, L"9"));
    const Place after[] = {
        {"取涨停价", {VK_TAB}, true, Id::cmdGetZT, Id::txtCurPrice},
        {"取跌停价", {VK_TAB, VK_TAB}, true, Id::cmdGetDT, Id::cmdGetZT},
        {"result box", {VK_TAB, VK_TAB, VK_TAB}, true, Id::txtZTPrice, Id::cmdGetDT},
    };
    for (const Place& place : after) tryKeys(place, L"11", L"9");
}

}  // namespace
}  // namespace e2e
