// Events of the real calculator window, observed through the runtime's event
// trace: the result-box guard's chain ends, calculations write both results,
// and Load comes once, before the window is shown.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "window_harness.h"

namespace {

struct Raised {
    std::wstring control;
    forms::Event event;
    bool windowVisible;
};
std::vector<Raised> g_raised;

void Record(const wchar_t* control, int, forms::Event event) {
    forms::Form* form = forms::FindForm(L"Form1");
    g_raised.push_back({control, event, form != nullptr && IsWindowVisible(form->hWnd())});
}

int Count(const std::wstring& control, forms::Event event) {
    int n = 0;
    for (const Raised& r : g_raised) n += r.control == control && r.event == event;
    return n;
}

class WindowEvents : public ::testing::Test {
protected:
    WindowEvents() { forms::SetEventTrace(Record); }
    harness::Form1Session session;
    void SetUp() override { g_raised.clear(); }
    void TearDown() override { forms::SetEventTrace(nullptr); }
};

TEST_F(WindowEvents, GuardRunsAtMostTwiceAndEmptiesANonNumericResult) {
    struct Case {
        const wchar_t* start;
        const wchar_t* written;
        const wchar_t* after;
        int guardRuns;
    };
    const Case cases[] = {
        {L"", L"x", L"", 2},          // emptied: its own write raises it once more
        {L"", L"11.5.", L"", 2},
        {L"", L"12.5", L"12.5", 1},   // numeric: stays
        {L"11", L"0", L"0", 1},
        {L"", L"", L"", 0},           // emptying an empty box writes nothing
        {L"11", L"11", L"11", 0},     // neither does an unchanged text
    };
    for (const wchar_t* box : {L"txtZTPrice", L"txtDTPrice"}) {
        for (const Case& c : cases) {
            session.form().SetText(box, c.start);
            g_raised.clear();
            session.form().SetText(box, c.written);
            EXPECT_EQ(session.form().Text(box), c.after);
            EXPECT_EQ(Count(box, forms::Event::Change), c.guardRuns)
                << testing::PrintToString(std::wstring(box)) << " written " << testing::PrintToString(std::wstring(c.written));
        }
    }
}

TEST_F(WindowEvents, TypingALetterAfterAResultEmptiesTheBoxInTwoGuardRuns) {
    HWND box = session.Control(L"txtZTPrice");
    session.form().SetText(L"txtZTPrice", L"11");
    SetFocus(box);
    SendMessageW(box, EM_SETSEL, 2, 2);
    g_raised.clear();
    harness::TypeText(L"x");
    EXPECT_TRUE(harness::PumpUntil([&] { return session.form().Text(L"txtZTPrice").empty(); }));
    EXPECT_EQ(Count(L"txtZTPrice", forms::Event::Change), 2);
}

TEST_F(WindowEvents, ACalculationWritesBothResultsEachGuardedOnce) {
    session.form().SetText(L"txtCurPrice", L"10");
    g_raised.clear();
    calculator::Command1_Click();
    EXPECT_EQ(session.form().Text(L"txtZTPrice"), L"11");
    EXPECT_EQ(session.form().Text(L"txtDTPrice"), L"9");
    ASSERT_EQ(g_raised.size(), 2u);
    EXPECT_EQ(g_raised[0].control, L"txtZTPrice") << "the limit-up is written first";
    EXPECT_EQ(g_raised[1].control, L"txtDTPrice");
}

TEST_F(WindowEvents, RefusedPricesLeaveTheResultsAlone) {
    session.form().SetText(L"txtCurPrice", L"10");
    calculator::Command1_Click();
    const std::wstring fortyDigits(40, L'9');
    for (const std::wstring& price : {std::wstring(), std::wstring(L"1..2"), fortyDigits, std::wstring(L".")}) {
        session.form().SetText(L"txtCurPrice", price);
        g_raised.clear();
        calculator::Command1_Click();
        EXPECT_EQ(session.form().Text(L"txtZTPrice"), L"11") << testing::PrintToString(price);
        EXPECT_EQ(session.form().Text(L"txtDTPrice"), L"9");
        EXPECT_TRUE(g_raised.empty());
    }
}

TEST_F(WindowEvents, CarryForwardCopiesTheTextAndRecalculatesInTheCurrentBand) {
    session.form().SetText(L"txtCurPrice", L"10");
    calculator::Command1_Click();
    calculator::cmdGetZT_Click();
    EXPECT_EQ(session.form().Text(L"txtCurPrice"), L"11");
    EXPECT_EQ(session.form().Text(L"txtZTPrice"), L"12.1");
    EXPECT_EQ(session.form().Text(L"txtDTPrice"), L"9.9");
    SendMessageW(session.Control(L"Option2"), BM_CLICK, 0, 0);
    EXPECT_EQ(session.form().Text(L"txtZTPrice"), L"12.1") << "changing the band alone changes nothing";
    session.form().SetText(L"txtDTPrice", L"012.10");
    calculator::cmdGetDT_Click();
    EXPECT_EQ(session.form().Text(L"txtCurPrice"), L"012.10") << "the text itself is carried";
    EXPECT_EQ(session.form().Text(L"txtZTPrice"), L"12.71");
    EXPECT_EQ(session.form().Text(L"txtDTPrice"), L"11.49");
}

TEST_F(WindowEvents, CarryForwardOfNothingPositiveDoesNothing) {
    session.form().SetText(L"txtCurPrice", L"7");
    for (const wchar_t* source : {L"", L"0", L"0.00"}) {
        session.form().SetText(L"txtZTPrice", source);
        g_raised.clear();
        calculator::cmdGetZT_Click();
        EXPECT_EQ(session.form().Text(L"txtCurPrice"), L"7");
        EXPECT_TRUE(g_raised.empty());
    }
}

TEST(WindowLoad, LoadIsRaisedOnceBeforeTheWindowIsShown) {
    g_raised.clear();
    forms::SetEventTrace(Record);
    {
        harness::Form1Session session;
        EXPECT_TRUE(IsWindowVisible(session.form().hWnd()));
    }
    forms::SetEventTrace(nullptr);
    ASSERT_EQ(Count(L"Form1", forms::Event::Load), 1);
    EXPECT_FALSE(g_raised.front().windowVisible);
    EXPECT_EQ(g_raised.front().event, forms::Event::Load);
}

}  // namespace
