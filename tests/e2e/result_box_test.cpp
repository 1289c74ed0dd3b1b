// The result boxes take typing, but never keep text that is not a number.
#include <functional>

#include "tests/e2e/program_test.h"

namespace e2e {
namespace {

class ResultBoxes : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_NO_FATAL_FAILURE(EnterPrice(L"10"));
        Calculate();
        ASSERT_TRUE(TextBecomes(Id::txtZTPrice, L"11"));
        ASSERT_TRUE(TextBecomes(Id::txtDTPrice, L"9"));
    }
};

struct Spoiling {
    const char* name;
    Id box;
    std::function<void()> keys;  // with the caret after the box's text
};

TEST_F(ResultBoxes, TextThatStopsBeingANumberEmptiesTheBox) {
    const Spoiling cases[] = {
        {"x after 11", Id::txtZTPrice, [] { TypeText(L"x"); }},
        {"q before 9", Id::txtDTPrice, [] {
             Press(VK_HOME);
             TypeText(L"q");
         }},
        {"z inside 11", Id::txtZTPrice, [] {
             Press(VK_LEFT);
             TypeText(L"z");
         }},
    };
    for (const Spoiling& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(EnterPrice(L"10"));
        Calculate();
        ASSERT_TRUE(TextBecomes(Id::txtZTPrice, L"11"));
        ASSERT_TRUE(TextBecomes(Id::txtDTPrice, L"9"));

        ClickAtEndOf(c.box);
        ASSERT_TRUE(FocusBecomes(c.box));
        c.keys();
        EXPECT_TRUE(TextBecomes(c.box, L""));
        // The other box keeps its result.
        const Id other = c.box == Id::txtZTPrice ? Id::txtDTPrice : Id::txtZTPrice;
        EXPECT_EQ(Narrow(Text(other)), other == Id::txtZTPrice ? "11" : "9");
    }
}

TEST_F(ResultBoxes, DeletingAllTheTextLeavesTheBoxEmpty) {
    ClickAtEndOf(Id::txtDTPrice);
    ASSERT_TRUE(FocusBecomes(Id::txtDTPrice));
    Press(VK_HOME);
    Press(VK_END, {VK_SHIFT});
    Press(VK_DELETE);
    ASSERT_TRUE(TextBecomes(Id::txtDTPrice, L""));
    // Moving on with Tab: by then whatever the deletion set off is done.
    Press(VK_TAB);
    ASSERT_TRUE(FocusBecomes(Id::txtZTPrice));
    EXPECT_TRUE(ResultsAre(L"11", L""));
    EXPECT_TRUE(NoDialogShown());

    // The program goes on working.
    EXPECT_TRUE(Responsive());
    ASSERT_NO_FATAL_FAILURE(EnterPrice(L"20"));
    Calculate();
    EXPECT_TRUE(TextBecomes(Id::txtZTPrice, L"22"));
    EXPECT_TRUE(TextBecomes(Id::txtDTPrice, L"18"));
}

TEST_F(ResultBoxes, NumbersTypedIntoThemStay) {
    // Typing a number is not spoiling it: "110" and "0" stay as typed.
    ClickAtEndOf(Id::txtZTPrice);
    ASSERT_TRUE(FocusBecomes(Id::txtZTPrice));
    TypeText(L"0");
    EXPECT_TRUE(TextBecomes(Id::txtZTPrice, L"110"));
    ASSERT_NO_FATAL_FAILURE(ClickIntoAndClear(Id::txtDTPrice));
    TypeText(L"0");
    EXPECT_TRUE(TextBecomes(Id::txtDTPrice, L"0"));
    Press(VK_TAB);
    ASSERT_TRUE(FocusBecomes(Id::txtZTPrice));
    EXPECT_TRUE(ResultsAre(L"110", L"0"));
}

}  // namespace
}  // namespace e2e
