// The calculation as a person uses it: a price typed with real keys, the band
// picked and 计算 clicked; the results carried forward with the two buttons
// below them; prices that are refused.
#include <string>

#include "tests/e2e/program_test.h"
#include "tests/e2e/screen.h"

namespace e2e {
namespace {

class Calculation : public ProgramTest {
protected:
    // Picks a band with a real click on its option button.
    void PickBand(Id option) {
        ClickOn(option);
        ASSERT_TRUE(Wait([&] { return program_.Checked(option); })) << NameOf(option) << " was not selected";
        const Id other = option == Id::Option1 ? Id::Option2 : Id::Option1;
        EXPECT_FALSE(program_.Checked(other)) << "both options are selected";
    }

    void CalculateAndExpect(const std::wstring& limitUp, const std::wstring& limitDown) {
        Calculate();
        EXPECT_TRUE(TextBecomes(Id::txtZTPrice, limitUp));
        EXPECT_TRUE(TextBecomes(Id::txtDTPrice, limitDown));
    }

    // The click is handled and the results are as they were; no message.
    void CalculateAndExpectNothing(const std::wstring& limitUp, const std::wstring& limitDown) {
        Calculate();
        ASSERT_NO_FATAL_FAILURE(Settle());
        EXPECT_TRUE(ResultsAre(limitUp, limitDown));
        EXPECT_TRUE(NoDialogShown());
        EXPECT_TRUE(Responsive());
    }
};

struct Case {
    const wchar_t* price;
    Id band;
    const wchar_t* limitUp;
    const wchar_t* limitDown;
};

TEST_F(Calculation, TypedPriceGivesTheLimitsOfTheChosenBand) {
    const Case cases[] = {
        {L"10", Id::Option1, L"11", L"9"},
        {L"10", Id::Option2, L"10.5", L"9.5"},
        {L"10000000", Id::Option1, L"1.1E+07", L"9000000"},
        {L"20", Id::Option2, L"21", L"19"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.price) + " at " + (c.band == Id::Option1 ? "10%" : "5%"));
        ASSERT_NO_FATAL_FAILURE(PickBand(c.band));
        ASSERT_NO_FATAL_FAILURE(EnterPrice(c.price));
        CalculateAndExpect(c.limitUp, c.limitDown);
        EXPECT_TRUE(NoDialogShown());
    }
}

TEST_F(Calculation, ResultsCarryForwardAsTheNewPrice) {
    ASSERT_NO_FATAL_FAILURE(EnterPrice(L"10"));
    CalculateAndExpect(L"11", L"9");

    ClickOn(Id::cmdGetZT);
    EXPECT_TRUE(TextBecomes(Id::txtCurPrice, L"11"));
    EXPECT_TRUE(TextBecomes(Id::txtZTPrice, L"12.1"));
    EXPECT_TRUE(TextBecomes(Id::txtDTPrice, L"9.9"));

    ClickOn(Id::cmdGetDT);
    EXPECT_TRUE(TextBecomes(Id::txtCurPrice, L"9.9"));
    EXPECT_TRUE(TextBecomes(Id::txtZTPrice, L"10.89"));
    EXPECT_TRUE(TextBecomes(Id::txtDTPrice, L"8.91"));
    EXPECT_TRUE(NoDialogShown());
}

TEST_F(Calculation, LargePriceShowsInExponentFormAndCarriesForwardAsShown) {
    ASSERT_NO_FATAL_FAILURE(EnterPrice(L"10000000"));
    CalculateAndExpect(L"1.1E+07", L"9000000");

    ClickOn(Id::cmdGetZT);
    EXPECT_TRUE(TextBecomes(Id::txtCurPrice, L"1.1E+07"));
    EXPECT_TRUE(TextBecomes(Id::txtZTPrice, L"1.21E+07"));
    EXPECT_TRUE(TextBecomes(Id::txtDTPrice, L"9900000"));
    EXPECT_TRUE(NoDialogShown());
}

TEST_F(Calculation, AnotherBandTakesEffectOnlyWithTheNextClick) {
    ASSERT_NO_FATAL_FAILURE(EnterPrice(L"10"));
    CalculateAndExpect(L"11", L"9");

    ASSERT_NO_FATAL_FAILURE(PickBand(Id::Option2));
    ASSERT_NO_FATAL_FAILURE(Settle());
    EXPECT_TRUE(ResultsAre(L"11", L"9")) << "picking the band alone must not recalculate";

    CalculateAndExpect(L"10.5", L"9.5");
}

TEST_F(Calculation, EmptyPriceDoesNothing) {
    CalculateAndExpectNothing(L"", L"");

    ASSERT_NO_FATAL_FAILURE(EnterPrice(L"10"));
    CalculateAndExpect(L"11", L"9");
    ASSERT_NO_FATAL_FAILURE(ClickIntoAndClear(Id::txtCurPrice));
    CalculateAndExpectNothing(L"11", L"9");
}

TEST_F(Calculation, PricesTooLargeForTheResultsAreRefusedSilently) {
    ASSERT_NO_FATAL_FAILURE(EnterPrice(L"10"));
    CalculateAndExpect(L"11", L"9");

    std::wstring digits40;
    for (int i = 0; i < 4; ++i) digits40 += L"1234567890";
    std::wstring digits400;
    for (int i = 0; i < 10; ++i) digits400 += digits40;
    for (const std::wstring& price : {digits40, digits400}) {
        SCOPED_TRACE(std::to_string(price.size()) + " digits");
        ASSERT_NO_FATAL_FAILURE(EnterPrice(price));
        CalculateAndExpectNothing(L"11", L"9");
    }

    // Still calculating.
    ASSERT_NO_FATAL_FAILURE(EnterPrice(L"20"));
    CalculateAndExpect(L"22", L"18");
}

// The message box for a price that is not above zero.
class NotPositivePrice : public Calculation {
protected:
    // Opens it with price 0 and checks what it shows; returns it.
    HWND OpenMessage() {
        EXPECT_NO_FATAL_FAILURE(EnterPrice(L"0"));
        Calculate();
        HWND dialog = WaitForDialog();
        EXPECT_NE(dialog, nullptr) << "no message box appeared";
        if (dialog == nullptr) return nullptr;

        EXPECT_EQ(ClassOf(dialog), L"#32770");
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), program_.Window()) << "the box should belong to the window";
        EXPECT_FALSE(IsWindowEnabled(program_.Window())) << "the window should wait for the box";
        const MessageBoxParts parts = ReadMessageBox(dialog);
        EXPECT_EQ(Narrow(parts.title), "提示");
        EXPECT_EQ(Narrow(parts.text), "价格必须大于 0");
        EXPECT_EQ(parts.buttons.size(), 1u) << "one button, OK";
        EXPECT_NE(parts.icon, nullptr) << "no icon";
        EXPECT_NE(parts.iconHandle, nullptr) << "the icon shows nothing";
        if (parts.icon != nullptr) ExpectInformationIcon(parts.icon);
        return dialog;
    }

    // The icon on the screen is the system's information icon, and not one
    // of the other message icons, where those look different.
    void ExpectInformationIcon(HWND icon) {
        RECT rect{};
        GetWindowRect(icon, &rect);
        const int width = rect.right - rect.left;
        const int height = rect.bottom - rect.top;
        auto matches = [&](LPCWSTR which) {
            const IconPicture picture = DrawIcon(LoadIconW(nullptr, which), width, height);
            const ScreenShot shot(rect);
            int opaque = 0, same = 0;
            for (int y = 0; y < height; ++y) {
                for (int x = 0; x < width; ++x) {
                    const size_t i = static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x);
                    if (!picture.opaque[i]) continue;
                    ++opaque;
                    if (shot.At(x, y) == picture.colour[i]) ++same;
                }
            }
            return opaque > 0 && same == opaque;
        };
        EXPECT_TRUE(Wait([&] { return matches(IDI_INFORMATION); })) << "the icon is not the information icon";
        for (LPCWSTR other : {IDI_WARNING, IDI_ERROR, IDI_QUESTION}) {
            EXPECT_FALSE(matches(other)) << "the icon looks like another message icon";
        }
    }

    void ExpectClosedWithResultsKept() {
        EXPECT_TRUE(Wait([&] { return program_.Dialogs().empty(); })) << "the message box stayed open";
        EXPECT_TRUE(Wait([&] { return IsWindowEnabled(program_.Window()) != FALSE; }));
        EXPECT_TRUE(ResultsAre(L"11", L"9"));
        EXPECT_EQ(Narrow(Text(Id::txtCurPrice)), "0");
    }
};

TEST_F(NotPositivePrice, ShowsAnInformationMessageClosedWithItsButton) {
    ASSERT_NO_FATAL_FAILURE(EnterPrice(L"10"));
    CalculateAndExpect(L"11", L"9");

    HWND dialog = OpenMessage();
    ASSERT_NE(dialog, nullptr);
    const MessageBoxParts parts = ReadMessageBox(dialog);
    ASSERT_EQ(parts.buttons.size(), 1u);
    Click(CentreOf(parts.buttons.front()));
    ExpectClosedWithResultsKept();
}

TEST_F(NotPositivePrice, ShowsAnInformationMessageClosedWithEnter) {
    ASSERT_NO_FATAL_FAILURE(EnterPrice(L"10"));
    CalculateAndExpect(L"11", L"9");

    HWND dialog = OpenMessage();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(Wait([&] { return GetForegroundWindow() == dialog; })) << "the message box is not in front";
    Press(VK_RETURN);
    ExpectClosedWithResultsKept();

    // Back to work: the window takes input again.
    ASSERT_NO_FATAL_FAILURE(EnterPrice(L"10"));
    CalculateAndExpect(L"11", L"9");
}

}  // namespace
}  // namespace e2e
