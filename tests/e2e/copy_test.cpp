// Double-clicking a result puts exactly its text on the clipboard, as text
// and nothing else; a box without a positive number, or a clipboard that
// another program keeps open, leaves the clipboard as it was.
#include <algorithm>

#include "tests/e2e/clipboard_access.h"
#include "tests/e2e/program_test.h"

namespace e2e {
namespace {

class Copy : public ProgramTest {
protected:
    // The double-click, then a Tab that shows it has been handled: the focus
    // moves on from the box only after the double-click is done with, and
    // with it whatever it put on the clipboard. The clipboard is not watched
    // meanwhile: each look opens it, and the program would find it busy.
    void DoubleClickAndMoveOn(Id box) {
        ASSERT_NO_FATAL_FAILURE(Activate());
        DoubleClick(CentreOf(Control(box)));
        ASSERT_TRUE(FocusBecomes(box));
        Press(VK_TAB);
        ASSERT_TRUE(FocusBecomes(box == Id::txtZTPrice ? Id::cmdGetDT : Id::txtZTPrice));
    }

    ::testing::AssertionResult ClipboardKeeps(const std::wstring& text) {
        const std::wstring now = ClipboardUnicodeText().value_or(L"<nothing>");
        const auto formats = ClipboardFormats();
        const bool marked = std::find(formats.begin(), formats.end(), DriverMarkerFormat()) != formats.end();
        if (now == text && marked) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "the clipboard holds \"" << Narrow(now) << "\""
                                             << (marked ? "" : " and lost the driver's own format")
                                             << ", expected \"" << Narrow(text) << "\" as it was";
    }
};

TEST_F(Copy, DoubleClickPutsExactlyTheResultTextOnTheClipboardAlone) {
    ASSERT_NO_FATAL_FAILURE(EnterPrice(L"10"));
    Calculate();
    ASSERT_TRUE(TextBecomes(Id::txtZTPrice, L"11"));
    ClickOn(Id::cmdGetZT);
    ASSERT_TRUE(TextBecomes(Id::txtZTPrice, L"12.1"));
    ASSERT_TRUE(TextBecomes(Id::txtDTPrice, L"9.9"));

    struct Case {
        Id box;
        const char* text;
    };
    for (const Case& c : {Case{Id::txtZTPrice, "12.1"}, Case{Id::txtDTPrice, "9.9"}}) {
        SCOPED_TRACE(NameOf(c.box));
        ASSERT_TRUE(PutOnClipboard(L"before"));
        ASSERT_NO_FATAL_FAILURE(DoubleClickAndMoveOn(c.box));
        EXPECT_EQ(ClipboardAnsiText().value_or("<none>"), c.text);

        // The program placed CF_TEXT only, after emptying the clipboard; the
        // system offers the other text formats made from it.
        const auto formats = ClipboardFormats();
        EXPECT_NE(std::find(formats.begin(), formats.end(), static_cast<UINT>(CF_TEXT)), formats.end());
        for (UINT format : formats) {
            EXPECT_TRUE(format == CF_TEXT || IsSynthesizedFromText(format))
                << FormatName(format) << " is on the clipboard too";
        }
        EXPECT_EQ(Narrow(ClipboardUnicodeText().value_or(L"<none>")), c.text);
        EXPECT_TRUE(ResultsAre(L"12.1", L"9.9")) << "copying changed a result";
    }
}

TEST_F(Copy, EmptyBoxOrZeroLeavesTheClipboardAsItWas) {
    ASSERT_TRUE(PutOnClipboard(L"earlier"));

    // An empty box, as at the start.
    ASSERT_NO_FATAL_FAILURE(DoubleClickAndMoveOn(Id::txtDTPrice));
    EXPECT_TRUE(ClipboardKeeps(L"earlier"));

    // A box holding 0, a number that is not positive: it stays as typed.
    ASSERT_NO_FATAL_FAILURE(ClickIntoAndClear(Id::txtZTPrice));
    TypeText(L"0");
    ASSERT_TRUE(TextBecomes(Id::txtZTPrice, L"0"));
    ASSERT_NO_FATAL_FAILURE(DoubleClickAndMoveOn(Id::txtZTPrice));
    EXPECT_EQ(Narrow(Text(Id::txtZTPrice)), "0");
    EXPECT_TRUE(ClipboardKeeps(L"earlier"));
    EXPECT_TRUE(NoDialogShown());
}

TEST_F(Copy, ClipboardHeldByAnotherProgramIsLeftAloneAndTheProgramGoesOn) {
    ASSERT_NO_FATAL_FAILURE(EnterPrice(L"10"));
    Calculate();
    ASSERT_TRUE(TextBecomes(Id::txtZTPrice, L"11"));
    ASSERT_TRUE(PutOnClipboard(L"held"));

    ClipboardHolder holder;
    std::wstring error;
    ASSERT_TRUE(holder.Start(error)) << Narrow(error);
    const bool opened = OpenClipboard(nullptr) != FALSE;
    if (opened) CloseClipboard();
    EXPECT_FALSE(opened) << "the holder does not keep the clipboard open";

    ASSERT_NO_FATAL_FAILURE(DoubleClickAndMoveOn(Id::txtZTPrice));
    EXPECT_TRUE(Responsive());
    EXPECT_TRUE(NoDialogShown());

    // Still calculating while the clipboard is busy.
    ASSERT_NO_FATAL_FAILURE(EnterPrice(L"20"));
    Calculate();
    EXPECT_TRUE(TextBecomes(Id::txtZTPrice, L"22"));
    EXPECT_TRUE(TextBecomes(Id::txtDTPrice, L"18"));

    ASSERT_TRUE(holder.Release());
    EXPECT_TRUE(ClipboardKeeps(L"held"));

    // And copying works again once the clipboard is free.
    ASSERT_NO_FATAL_FAILURE(DoubleClickAndMoveOn(Id::txtDTPrice));
    EXPECT_EQ(ClipboardAnsiText().value_or("<none>"), "18");
}

}  // namespace
}  // namespace e2e
