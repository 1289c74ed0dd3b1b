// Hostile input in every text box of the real program: 32,767 characters of
// digits, of zeros, of points, of letters and of mixed Unicode (characters
// outside the Basic Multilingual Plane as surrogate pairs, CJK, combining
// marks, right-to-left scripts and controls, full-width and Arabic-Indic
// digits) pasted into each box, and prices of 40 and 400 digits, each
// followed by copies, a calculation and both carry-forwards.
//
// After every step the program is still there and answers, shows no error
// report and no message but the price message where the price reads as 0,
// and its boxes hold exactly what the program's rules leave in them: the
// price box keeps what was pasted, a result box only a number or nothing.
// Every step must be done within a generous bound; the time each one took is
// printed.
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>

#include "tests/e2e/clipboard_access.h"
#include "tests/e2e/process_watch.h"  // Stopwatch
#include "tests/e2e/program_test.h"

namespace e2e {
namespace {

// No step may take longer than this. A liveness bound, not a speed figure:
// Wine's edit control needs time that grows faster than the text for some
// of the work on 32,767 characters.
constexpr DWORD kStepBound = 20000;
constexpr size_t kLongText = 32767;

// A number by the program's rule: an optional "-", digits with at most one
// point among them and at least one digit, then optionally "E" or "e", an
// optional sign and at least one digit. Nothing else, ASCII only.
bool IsNumber(std::wstring_view text) {
    size_t i = 0;
    const size_t n = text.size();
    auto digit = [&](size_t at) { return text[at] >= L'0' && text[at] <= L'9'; };
    if (i < n && text[i] == L'-') ++i;
    size_t digits = 0;
    bool point = false;
    for (; i < n; ++i) {
        if (digit(i)) {
            ++digits;
        } else if (text[i] == L'.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (digits == 0) return false;
    if (i < n && (text[i] == L'E' || text[i] == L'e')) {
        ++i;
        if (i < n && (text[i] == L'+' || text[i] == L'-')) ++i;
        const size_t start = i;
        while (i < n && digit(i)) ++i;
        if (i == start) return false;
    }
    return i == n;
}

// `length` UTF-16 units of `pieces` over and over, never ending inside a
// surrogate pair: where the next piece does not fit, `filler` completes it.
std::wstring Repeat(std::initializer_list<std::wstring_view> pieces, size_t length, wchar_t filler) {
    std::wstring text;
    text.reserve(length);
    for (;;) {
        for (std::wstring_view piece : pieces) {
            if (text.size() + piece.size() > length) {
                text.append(length - text.size(), filler);
                return text;
            }
            text += piece;
        }
    }
}

// What a hostile text is to the program.
struct Hostile {
    std::wstring text;
    bool numeric;    // a number by the program's rule: a result box keeps it
    bool positive;   // and one above 0: it is carried forward and copied
    bool readsAsZero;  // as a price it reads as 0: the price message
};

enum class Kind { Digits, Zeros, Tiny, Points, Letters, Unicode, Digits40, Digits400 };

const char* KindName(Kind kind) {
    switch (kind) {
    case Kind::Digits: return "Digits";
    case Kind::Zeros: return "Zeros";
    case Kind::Tiny: return "TinyNumber";
    case Kind::Points: return "Points";
    case Kind::Letters: return "Letters";
    case Kind::Unicode: return "MixedUnicode";
    case Kind::Digits40: return "FortyDigits";
    case Kind::Digits400: return "FourHundredDigits";
    }
    return "?";
}

Hostile MakeHostile(Kind kind) {
    switch (kind) {
    case Kind::Digits:
        // About 1.2 x 10^32766: a number above 0, so a result box keeps it,
        // a carry-forward takes it to the price box and a double-click
        // copies it; far beyond single and double precision, so the
        // calculation refuses it silently.
        return {Repeat({L"1234567890"}, kLongText, L'1'), true, true, false};
    case Kind::Zeros:
        return {std::wstring(kLongText, L'0'), true, false, true};
    case Kind::Tiny:
        // 0.000...1, 10^-32765: above 0, but 0 in single and double precision.
        return {L"0." + std::wstring(kLongText - 3, L'0') + L"1", true, false, true};
    case Kind::Points:
        return {std::wstring(kLongText, L'.'), false, false, false};
    case Kind::Letters:
        return {Repeat({L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"}, kLongText, L'x'), false, false,
                false};
    case Kind::Unicode:
        return {Repeat(
                    {
                        L"\U0001F4C8",              // a chart emoji: a surrogate pair
                        L"\U00020BB7",              // a CJK ideograph beyond the BMP
                        L"涨停价跌停价",            // CJK
                        L"e\u0301a\u0308\u0332",    // combining marks
                        L"\u05E9\u05DC\u05D5\u05DD",  // Hebrew
                        L"\u0627\u0644\u0633\u0639\u0631",  // Arabic
                        L"\u202E12.5\u202C",        // digits inside a right-to-left override
                        L"\u200F\u200E\u200D",      // direction marks, a joiner
                        L"\uFF11\uFF10.\uFF15",     // full-width digits
                        L"\u0661\u0662\u0663",      // Arabic-Indic digits
                        L"\u00A0\uFEFF\uFFFD",      // no-break space, BOM, replacement character
                        L"\U0001D7D9",              // a mathematical double-struck digit
                    },
                    kLongText, L'价'),
                false, false, false};
    case Kind::Digits40:
        // 1.2 x 10^39: a double, but beyond single precision.
        return {Repeat({L"1234567890"}, 40, L'1'), true, true, false};
    case Kind::Digits400:
        return {Repeat({L"1234567890"}, 400, L'1'), true, true, false};
    }
    return {};
}

struct Case {
    Kind kind;
    Id box;
    bool typed;  // typed with real keys rather than pasted (price box only)
};

std::string CaseName(const Case& c) {
    return std::string(KindName(c.kind)) + (c.typed ? "TypedInto" : "PastedInto") + NameOf(c.box);
}

// A text for a failure message: short ones whole, long ones by their length
// and ends.
std::string Shown(const std::wstring& text) {
    std::string shown;
    if (text.size() <= 40) {
        shown += '"';
        shown += Narrow(text);
    } else {
        shown += std::to_string(text.size());
        shown += " characters \"";
        shown += Narrow(text.substr(0, 12));
        shown += "...";
        shown += Narrow(text.substr(text.size() - 12));
    }
    shown += '"';
    return shown;
}

// The prices the steps lead to, with their known results at 10%.
struct Known {
    const wchar_t* price;
    const wchar_t* limitUp;
    const wchar_t* limitDown;
};
constexpr Known kKnown[] = {
    {L"10", L"11", L"9"},
    {L"11", L"12.1", L"9.9"},
    {L"9", L"9.9", L"8.1"},
    {L"9.9", L"10.89", L"8.91"},
};
const Known* Lookup(const std::wstring& price) {
    for (const Known& known : kKnown) {
        if (price == known.price) return &known;
    }
    return nullptr;
}

class HostileInput : public ProgramTest, public ::testing::WithParamInterface<Case> {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        if (HasFatalFailure()) return;
        hostile_ = MakeHostile(GetParam().kind);
        ASSERT_EQ(IsNumber(hostile_.text), hostile_.numeric) << "the test's own hostile text is not as described";
    }

    void TearDown() override {
        if (sender_.joinable()) {
            // A step left the program inside a message box or hung: end it,
            // which frees the helper thread's call.
            program_.Kill();
            sender_.join();
        }
        ProgramTest::TearDown();
    }

    // --- Delivering a message within the bound ---------------------------

    // Sends a message to a window of the program from a helper thread and
    // waits, answering messages, until the program has handled it or shows a
    // dialog (a message box runs its own loop and keeps the call waiting).
    // Returns the dialog, if one came up; the call then ends once it is
    // dismissed (FinishDelivery).
    HWND Deliver(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, const std::string& step) {
        delivered_ = false;
        sender_ = std::thread([this, window, msg, wParam, lParam] {
            DWORD_PTR result = 0;
            answered_ = SendMessageTimeoutW(window, msg, wParam, lParam, SMTO_NORMAL, kStepBound + 5000, &result) != 0;
            delivered_ = true;
        });
        HWND dialog = nullptr;
        const bool settled = WaitUntil(
            [&] {
                if (delivered_) return true;
                const auto dialogs = program_.Dialogs();
                if (!dialogs.empty()) dialog = dialogs.front();
                return dialog != nullptr || !program_.Alive();
            },
            kStepBound);
        if (!settled) {
            ADD_FAILURE() << step << ": the program did not finish within " << kStepBound / 1000 << " s";
            program_.Kill();
        }
        if (dialog == nullptr) FinishDelivery(step);
        return dialog;
    }

    void FinishDelivery(const std::string& step) {
        if (!sender_.joinable()) return;
        if (!WaitUntil([&] { return delivered_.load(); }, kStepBound)) {
            ADD_FAILURE() << step << ": the program did not finish within " << kStepBound / 1000 << " s";
            program_.Kill();
        }
        sender_.join();
        EXPECT_TRUE(answered_ || !program_.Alive()) << step << ": the message was not answered";
    }

    // --- The steps, each timed, with what the program's rules make of them ---

    void PasteInto(Id box, const std::string& step) {
        ASSERT_TRUE(PutOnClipboard(hostile_.text)) << "the clipboard could not be filled";
        const Stopwatch time;
        ASSERT_EQ(Deliver(Control(box), EM_SETSEL, 0, -1, step), nullptr) << step << ": a dialog came up";
        ASSERT_EQ(Deliver(Control(box), WM_PASTE, 0, 0, step), nullptr) << step << ": a dialog came up";
        Report(step, time.Seconds());
        // Pasting into the price box is not filtered; a result box keeps a
        // number and empties itself of anything else at once.
        Expected(box) = box == Id::txtCurPrice || hostile_.numeric ? hostile_.text : L"";
        ExpectState(step);
    }

    void TypeIntoPrice(const std::string& step) {
        const Stopwatch time;
        ASSERT_NO_FATAL_FAILURE(ClickIntoAndClear(Id::txtCurPrice));
        TypeText(hostile_.text);
        ASSERT_TRUE(TextBecomes(Id::txtCurPrice, hostile_.text, kStepBound)) << step;
        Report(step, time.Seconds());
        price_ = hostile_.text;
        ExpectState(step);
    }

    // Whether a text is carried forward and copied: a number above 0. The
    // hostile text is as described; a known result is one of the short
    // numbers above 0 that the steps lead to.
    bool Positive(const std::wstring& text) const {
        if (text == hostile_.text) return hostile_.positive;
        return IsNumber(text) && text.find_first_of(L"123456789") != std::wstring::npos && text[0] != L'-';
    }

    // What 计算 does with the price in the box now.
    void ExpectCalculation(bool& message) {
        message = false;
        if (const Known* known = Lookup(price_)) {
            up_ = known->limitUp;
            down_ = known->limitDown;
        } else if (price_ == hostile_.text && hostile_.readsAsZero) {
            message = true;
        }
        // Anything else is not a number or out of range: refused silently.
    }

    void Click(Id button, const std::string& step) {
        bool message = false;
        if (button == Id::Command1) {
            ExpectCalculation(message);
        } else {
            const std::wstring source = button == Id::cmdGetZT ? up_ : down_;
            if (Positive(source)) {
                price_ = source;
                ExpectCalculation(message);
            }
        }
        const Stopwatch time;
        HWND dialog = Deliver(Control(button), BM_CLICK, 0, 0, step);
        if (dialog != nullptr) {
            const MessageBoxParts parts = ReadMessageBox(dialog);
            EXPECT_TRUE(message) << step << ": an unexpected dialog \"" << Narrow(parts.title) << "\": \""
                                 << Narrow(parts.text) << "\"";
            EXPECT_EQ(Narrow(parts.title), "提示") << step;
            EXPECT_EQ(Narrow(parts.text), "价格必须大于 0") << step;
            ASSERT_FALSE(parts.buttons.empty()) << step << ": the message has no button";
            PostMessageW(parts.buttons.front(), BM_CLICK, 0, 0);
            FinishDelivery(step);
            ASSERT_TRUE(Wait([&] { return program_.Dialogs().empty(); }, kStepBound))
                << step << ": the message did not go away";
        } else {
            EXPECT_FALSE(message) << step << ": the price message did not come up";
        }
        Report(step, time.Seconds());
        ExpectState(step);
    }

    // A real double-click on a result box, then Tab: the focus moves on only
    // once the double-click has been handled.
    void CopyFrom(Id box, const std::string& step) {
        ASSERT_TRUE(PutOnClipboard(L"before the copy"));
        const std::wstring text = Expected(box);
        const std::wstring expected = Positive(text) ? text : L"before the copy";
        const Stopwatch time;
        ASSERT_NO_FATAL_FAILURE(Activate());
        DoubleClick(CentreOf(Control(box)));
        ASSERT_TRUE(FocusBecomes(box, kStepBound)) << step;
        Press(VK_TAB);
        ASSERT_TRUE(FocusBecomes(box == Id::txtZTPrice ? Id::cmdGetDT : Id::txtZTPrice, kStepBound)) << step;
        Report(step, time.Seconds());
        const std::wstring clipboard = ClipboardUnicodeText().value_or(L"<nothing>");
        EXPECT_TRUE(clipboard == expected) << step << ": the clipboard holds " << Shown(clipboard) << ", expected "
                                           << Shown(expected);
        ExpectState(step);
    }

    // --- The state after each step -----------------------------------------

    std::wstring& Expected(Id box) { return box == Id::txtCurPrice ? price_ : box == Id::txtZTPrice ? up_ : down_; }

    void ExpectState(const std::string& step) {
        ASSERT_FALSE(ProgramBroken()) << step;
        DWORD_PTR ignored = 0;
        ASSERT_TRUE(SendMessageTimeoutW(program_.Window(), WM_NULL, 0, 0, SMTO_NORMAL, kStepBound, &ignored))
            << step << ": the program does not answer";
        EXPECT_TRUE(NoDialogShown()) << step;
        for (Id box : {Id::txtCurPrice, Id::txtZTPrice, Id::txtDTPrice}) {
            const std::wstring shown = Text(box);
            EXPECT_TRUE(shown == Expected(box)) << step << ": " << NameOf(box) << " shows " << Shown(shown)
                                                << ", expected " << Shown(Expected(box));
            if (box != Id::txtCurPrice) {
                EXPECT_TRUE(shown.empty() || IsNumber(shown))
                    << step << ": " << NameOf(box) << " holds " << Shown(shown) << ", which is not a number";
            }
        }
    }

    void Report(const std::string& step, double seconds) {
        std::printf("[hostile] %-32s %-44s %6.2f s\n", CaseName(GetParam()).c_str(), step.c_str(), seconds);
        EXPECT_LE(seconds, kStepBound / 1000.0) << step;
    }

    Hostile hostile_;
    std::wstring price_, up_, down_;  // what the boxes must show

private:
    std::thread sender_;
    std::atomic<bool> delivered_{false};
    std::atomic<bool> answered_{false};
};

TEST_P(HostileInput, EveryStepLeavesTheProgramAnsweringWithOnlyNumbersInTheResults) {
    const Case c = GetParam();
    const Stopwatch run;

    // A known start: 10 at 10%, 11 and 9.
    DWORD_PTR ignored = 0;
    ASSERT_TRUE(SendMessageTimeoutW(Control(Id::txtCurPrice), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"10"),
                                    SMTO_NORMAL, kStepBound, &ignored));
    price_ = L"10";
    ASSERT_NO_FATAL_FAILURE(Click(Id::Command1, "start: 计算 with 10"));

    const std::string entered = std::string(c.typed ? "typed into " : "pasted into ") + NameOf(c.box);
    if (c.typed) {
        ASSERT_NO_FATAL_FAILURE(TypeIntoPrice(entered));
    } else {
        ASSERT_NO_FATAL_FAILURE(PasteInto(c.box, entered));
    }
    ASSERT_NO_FATAL_FAILURE(CopyFrom(Id::txtZTPrice, "double-click txtZTPrice (copy)"));
    ASSERT_NO_FATAL_FAILURE(CopyFrom(Id::txtDTPrice, "double-click txtDTPrice (copy)"));
    // While the text is still in its box: a calculation from a price box
    // holding it, and the carry-forward of a result box holding it, first.
    if (c.box == Id::txtCurPrice) {
        ASSERT_NO_FATAL_FAILURE(Click(Id::Command1, "计算"));
        ASSERT_NO_FATAL_FAILURE(Click(Id::cmdGetZT, "取涨停价"));
        ASSERT_NO_FATAL_FAILURE(Click(Id::cmdGetDT, "取跌停价"));
    } else {
        const bool up = c.box == Id::txtZTPrice;
        ASSERT_NO_FATAL_FAILURE(Click(up ? Id::cmdGetZT : Id::cmdGetDT, up ? "取涨停价" : "取跌停价"));
        ASSERT_NO_FATAL_FAILURE(Click(Id::Command1, "计算"));
        ASSERT_NO_FATAL_FAILURE(Click(up ? Id::cmdGetDT : Id::cmdGetZT, up ? "取跌停价" : "取涨停价"));
    }
    ASSERT_NO_FATAL_FAILURE(CopyFrom(Id::txtZTPrice, "double-click txtZTPrice (copy) at the end"));
    ASSERT_NO_FATAL_FAILURE(CopyFrom(Id::txtDTPrice, "double-click txtDTPrice (copy) at the end"));
    std::printf("[hostile] %-32s %-44s %6.2f s\n", CaseName(c).c_str(), "all steps, with the start", run.Seconds());
}

std::vector<Case> AllCases() {
    std::vector<Case> cases;
    for (Kind kind : {Kind::Digits, Kind::Points, Kind::Letters, Kind::Unicode}) {
        for (Id box : {Id::txtCurPrice, Id::txtZTPrice, Id::txtDTPrice}) cases.push_back({kind, box, false});
    }
    // Digits that read as 0: the price message from the price box; a result
    // box keeps them (a number) but neither carries them forward nor copies
    // them (not above 0).
    cases.push_back({Kind::Zeros, Id::txtCurPrice, false});
    cases.push_back({Kind::Zeros, Id::txtZTPrice, false});
    cases.push_back({Kind::Tiny, Id::txtCurPrice, false});
    cases.push_back({Kind::Digits40, Id::txtCurPrice, true});
    cases.push_back({Kind::Digits400, Id::txtCurPrice, false});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(LongTexts, HostileInput, ::testing::ValuesIn(AllCases()),
                         [](const ::testing::TestParamInfo<Case>& param) { return CaseName(param.param); });

}  // namespace
}  // namespace e2e
