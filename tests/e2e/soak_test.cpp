// The running program driven hard from outside: ten thousand calculations and
// carry-forwards, and seventy thousand paints of each face of a command
// button. Afterwards the results and the faces must still be exact, and the
// program's private memory no larger than after its warm-up, within a small
// allowance.
//
// The messages go straight to the controls, as real keys and clicks would take
// hours for this many: the calculations are WM_SETTEXT and BM_CLICK, sent and
// answered one by one, so that each is done when the call returns; the
// paints are WM_PAINT posted in chunks, each chunk followed by a marker that
// shows when the program has got through it (see PaintOver).
#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/face_pixels.h"
#include "tests/e2e/process_watch.h"
#include "tests/e2e/program_test.h"

namespace e2e {
namespace {

// No single step may take longer than this. It is a liveness bound, far
// above what any step needs, not a measure of speed.
constexpr DWORD kStepBound = 20000;

// Private bytes may grow this much between the end of the warm-up and the
// end of the run. The warm-up has made everything the program keeps for good
// (fonts, glyphs, the text boxes' buffers, the clipboard and window classes,
// the heap's first segments); in runs of this test the figure then stays
// flat to the page, so what grows after it is what the operations lose. A
// small loss per operation adds up to more than this: 9,000 calculations
// after the warm-up that lose 120 bytes each, 280,000 paints that lose 4
// bytes each, or 8,400 paints of one face that lose one GDI object each
// (Wine keeps about 125 bytes of private memory for each live brush or pen).
constexpr SIZE_T kGrowthAllowance = SIZE_T{1024} * 1024;

constexpr int kCalculations = 10000;
constexpr int kWarmUpCalculations = 1000;
constexpr int kCheckEvery = 500;

// Wine refuses new GDI objects at about 65,000 live ones in a process, so a
// face that loses one object per paint stops painting within this many.
constexpr int kPaintsPerFace = 70000;
constexpr int kWarmUpPaints = 1000;
// Between two chunks the screen proves that the chunk painted.
constexpr int kPaintsPerChunk = 7000;

double Megabytes(SIZE_T bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

class Soak : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        if (HasFatalFailure()) return;
        for (int id = static_cast<int>(Id::cmdGetZT); id <= static_cast<int>(Id::Label1); ++id) {
            controls_.push_back(program_.Control(static_cast<Id>(id)));
        }
        probe_.emplace(program_.ProcessId());
        ASSERT_TRUE(probe_->Valid()) << "the program's process could not be opened, error " << GetLastError();
        ASSERT_TRUE(probe_->PrivateBytes().has_value()) << "GetProcessMemoryInfo failed, error " << GetLastError();
        watchdog_.emplace(probe_->Handle(), kStepBound);
    }

    void TearDown() override {
        if (watchdog_) {
            EXPECT_FALSE(watchdog_->Fired()) << "the program hung for more than " << kStepBound / 1000
                                             << " s in " << watchdog_->FiredOn() << " and was ended";
        }
        watchdog_.reset();
        ProgramTest::TearDown();
    }

    // The control's window, looked up once.
    HWND Hwnd(Id id) const {
        return controls_[static_cast<size_t>(static_cast<int>(id) - static_cast<int>(Id::cmdGetZT))];
    }

    // A message sent to a control and answered within the bound.
    bool Send(Id id, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
        DWORD_PTR result = 0;
        return SendMessageTimeoutW(Hwnd(id), msg, wParam, lParam, SMTO_NORMAL, kStepBound, &result) != 0;
    }

    SIZE_T PrivateBytes() const { return probe_->PrivateBytes().value_or(0); }

    // The button whose faces are painted over and over.
    static constexpr Id kPainted = Id::Command1;
    static constexpr int kPaintedWidth = 117, kPaintedHeight = 25;

    RECT PaintedRect() const {
        RECT rect{};
        GetWindowRect(Hwnd(kPainted), &rect);
        return rect;
    }
    std::vector<std::string> MismatchesNow(Face face) const {
        return FaceMismatches(face, PaintedRect(), kPaintedWidth, kPaintedHeight);
    }
    // Waits for the face to reach the screen; what is wrong with it if not.
    std::vector<std::string> MismatchesAfterWait(Face face) {
        std::vector<std::string> wrong;
        Wait([&] {
            wrong = MismatchesNow(face);
            return wrong.empty();
        });
        return wrong;
    }

    // Puts the button into the state that shows `face`. The focus is where
    // that face needs it already: on the button for the focused face, away
    // from it for the others.
    void EnterState(Face face) {
        HWND button = Hwnd(kPainted);
        switch (face) {
        case Face::Normal:
        case Face::Focused:
            Enable(button, TRUE);
            ASSERT_TRUE(Send(kPainted, BM_SETSTATE, FALSE));
            break;
        case Face::Pressed:
            ASSERT_TRUE(Send(kPainted, BM_SETSTATE, TRUE));
            break;
        case Face::Disabled:
            ASSERT_TRUE(Send(kPainted, BM_SETSTATE, FALSE));
            Enable(button, FALSE);
            break;
        }
    }

    // One paint of the button, done when the call returns: the invalidated
    // button gets its WM_PAINT sent, and with it the WM_DRAWITEM that the
    // program's face painter serves.
    bool Repaint(Id id = kPainted) {
        const Watchdog::Guard guard(*watchdog_, "RedrawWindow");
        return RedrawWindow(Hwnd(id), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW) != FALSE;
    }
    // EnableWindow waits for the program's WM_ENABLE without a timeout.
    void Enable(HWND window, BOOL enable) {
        const Watchdog::Guard guard(*watchdog_, "EnableWindow");
        EnableWindow(window, enable);
    }

    // Returns once the program has handled every message posted to it so
    // far: a marker posted after them, BM_SETCHECK on the 5% option, shows
    // once it is handled, and the program handles posted messages in order.
    ::testing::AssertionResult PostedMessagesHandled() {
        marker_ = !marker_;
        if (!PostMessageW(Hwnd(Id::Option2), BM_SETCHECK, marker_ ? BST_CHECKED : BST_UNCHECKED, 0)) {
            return ::testing::AssertionFailure() << "the marker could not be posted, error " << GetLastError();
        }
        if (Wait([&] { return program_.Checked(Id::Option2) == marker_; }, kStepBound)) {
            return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure() << "the program did not get through the posted messages within "
                                             << kStepBound / 1000 << " s";
    }

    // `paints` paints of `face`, in chunks, each a WM_PAINT posted to the
    // button: the button answers each with a WM_DRAWITEM, and the program's
    // face painter makes and deletes its brushes and pens for the whole face
    // every time, whether or not the button needed painting. A round trip for
    // every paint (RedrawWindow with RDW_UPDATENOW) takes about five times as
    // long under Wine; posted, the program paints as fast as it can.
    //
    // Before each chunk the screen is made to show another face, and the
    // button then takes on the state of `face` with its redrawing held off
    // (WM_SETREDRAW), so that the screen keeps the other face. Only the last
    // paint of the chunk has something to paint (the button is invalidated
    // just before it), so the face on the screen afterwards is the work of
    // the painter after all the chunk's paints, with whatever they lost.
    void PaintOver(Face face, int paints) {
        const Face other = face == Face::Pressed || face == Face::Disabled ? Face::Normal : Face::Pressed;
        HWND button = Hwnd(kPainted);
        for (int done = 0; done < paints;) {
            const int chunk = std::min(kPaintsPerChunk, paints - done);
            ASSERT_NO_FATAL_FAILURE(EnterState(other));
            ASSERT_TRUE(Repaint());
            auto wrong = MismatchesAfterWait(other);
            ASSERT_TRUE(wrong.empty()) << "before paint " << done << " of the " << FaceName(face)
                                       << " face, the button does not show the " << FaceName(other)
                                       << " face:" << FirstMismatches(wrong);

            ASSERT_TRUE(Send(kPainted, WM_SETREDRAW, FALSE));
            ASSERT_NO_FATAL_FAILURE(EnterState(face));
            ASSERT_TRUE(Send(kPainted, WM_SETREDRAW, TRUE));
            RECT pending{};
            ASSERT_FALSE(GetUpdateRect(button, &pending, FALSE)) << "a paint is pending before the chunk";
            wrong = MismatchesNow(other);
            ASSERT_TRUE(wrong.empty()) << "the button was painted while its redrawing was held off:"
                                       << FirstMismatches(wrong);

            for (int i = 0; i < chunk; ++i) {
                if (i == chunk - 1) InvalidateRect(button, nullptr, FALSE);
                ASSERT_TRUE(PostMessageW(button, WM_PAINT, 0, 0))
                    << "paint " << done + i << " could not be posted, error " << GetLastError();
            }
            ASSERT_TRUE(PostedMessagesHandled());
            done += chunk;
            wrong = MismatchesAfterWait(face);
            // A painter that has run out of GDI objects paints nothing.
            ASSERT_TRUE(wrong.empty()) << "after " << done << " paints of the " << FaceName(face)
                                       << " face, the button does not show it (private bytes now "
                                       << Megabytes(PrivateBytes()) << " MB):" << FirstMismatches(wrong);
        }
    }

    void FocusOnPriceBox() {
        ASSERT_NO_FATAL_FAILURE(ClickAtEndOf(Id::txtCurPrice));
        ASSERT_TRUE(FocusBecomes(Id::txtCurPrice));
    }
    // From the price box with real Tab keys, as a person would: the option
    // group comes first, then 计算.
    void FocusOnPaintedButton() {
        ASSERT_NO_FATAL_FAILURE(FocusOnPriceBox());
        Press(VK_TAB);
        ASSERT_TRUE(FocusBecomes(Id::Option1));
        Press(VK_TAB);
        ASSERT_TRUE(FocusBecomes(kPainted));
    }

    // Each face in turn, `paints` times, with the focus arranged for it.
    void PaintEveryFace(int paints, const char* stage) {
        for (Face face : {Face::Normal, Face::Pressed, Face::Focused, Face::Disabled}) {
            SCOPED_TRACE(std::string(stage) + ", " + FaceName(face) + " face");
            const Stopwatch phase;
            if (face == Face::Focused) {
                ASSERT_NO_FATAL_FAILURE(FocusOnPaintedButton());
            } else {
                ASSERT_NO_FATAL_FAILURE(FocusOnPriceBox());
            }
            ASSERT_NO_FATAL_FAILURE(PaintOver(face, paints));
            if (face == Face::Focused) {
                ASSERT_TRUE(FocusBecomes(kPainted)) << "the focus left the button meanwhile";
            }
            const SIZE_T now = PrivateBytes();
            highest_ = std::max(highest_, now);
            std::printf("[soak] %s: %d paints of the %s face in %.1f s, private bytes %.2f MB\n", stage, paints,
                        FaceName(face), phase.Seconds(), Megabytes(now));
        }
        ASSERT_NO_FATAL_FAILURE(EnterState(Face::Normal));
        if (marker_) {
            ASSERT_TRUE(PostedMessagesHandled());  // the 5% option unchecked again
        }
    }

    std::optional<ProcessProbe> probe_;
    std::optional<Watchdog> watchdog_;
    SIZE_T highest_ = 0;  // the most private bytes seen after a phase of paints

private:
    std::vector<HWND> controls_;
    bool marker_ = false;  // the 5% option starts unchecked
};

// The operations go round a cycle of six, one band after the other, each
// with its known results.
struct Operation {
    const wchar_t* newPrice;  // set as the price first, or nullptr
    Id band;                  // picked before the click
    Id button;
    const wchar_t* price;  // what the three boxes show afterwards
    const wchar_t* limitUp;
    const wchar_t* limitDown;
};

const Operation kCycle[] = {
    {L"10", Id::Option1, Id::Command1, L"10", L"11", L"9"},
    {nullptr, Id::Option1, Id::cmdGetZT, L"11", L"12.1", L"9.9"},
    {nullptr, Id::Option1, Id::cmdGetDT, L"9.9", L"10.89", L"8.91"},
    {L"20", Id::Option2, Id::Command1, L"20", L"21", L"19"},
    {nullptr, Id::Option2, Id::cmdGetDT, L"19", L"19.95", L"18.05"},
    {nullptr, Id::Option2, Id::cmdGetZT, L"19.95", L"20.95", L"18.95"},
};

TEST_F(Soak, TenThousandCalculationsAndCarryForwardsStayExactAndKeepMemoryFlat) {
    const Stopwatch run;
    SIZE_T warmedUp = 0;
    SIZE_T highest = 0;
    int checked = 0;
    for (int i = 0; i < kCalculations; ++i) {
        const Operation& op = kCycle[i % std::size(kCycle)];
        if (op.newPrice != nullptr) {
            ASSERT_TRUE(Send(Id::txtCurPrice, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(op.newPrice)))
                << "operation " << i << ": the price box did not answer";
            ASSERT_TRUE(Send(op.band, BM_CLICK)) << "operation " << i << ": the option did not answer";
        }
        ASSERT_TRUE(Send(op.button, BM_CLICK)) << "operation " << i << ": " << NameOf(op.button)
                                               << " did not answer";

        if ((i + 1) % kCheckEvery == 0 || i + 1 == kCalculations) {
            ++checked;
            ASSERT_EQ(Narrow(Text(Id::txtCurPrice)), Narrow(op.price)) << "after operation " << i + 1;
            ASSERT_TRUE(ResultsAre(op.limitUp, op.limitDown)) << "after operation " << i + 1;
            ASSERT_TRUE(NoDialogShown()) << "after operation " << i + 1;
        }
        if ((i + 1) % 1000 == 0) {
            const SIZE_T now = PrivateBytes();
            std::printf("[soak] %5d operations, %.1f s, private bytes %.2f MB\n", i + 1, run.Seconds(),
                        Megabytes(now));
            if (i + 1 == kWarmUpCalculations) warmedUp = now;
            if (i + 1 > kWarmUpCalculations && now > highest) highest = now;
        }
    }
    const SIZE_T end = PrivateBytes();
    ASSERT_NE(warmedUp, 0u) << "the program's private bytes read 0";
    std::printf("[soak] %d calculations and carry-forwards in %.1f s, %d checked; private bytes after warm-up "
                "%.2f MB, at the end %.2f MB, highest %.2f MB\n",
                kCalculations, run.Seconds(), checked, Megabytes(warmedUp), Megabytes(end), Megabytes(highest));
    EXPECT_LE(highest, warmedUp + kGrowthAllowance)
        << "private bytes grew from " << warmedUp << " to " << highest;
    EXPECT_TRUE(Responsive());
}

TEST_F(Soak, SeventyThousandPaintsOfEachFaceLeaveEveryFaceExactAndMemoryFlat) {
    const Stopwatch run;
    MoveMouse(ClientPointOf(program_.Window(), 2, 275));  // over nothing that reacts to it
    ASSERT_NO_FATAL_FAILURE(PaintEveryFace(kWarmUpPaints, "warm-up"));
    const SIZE_T warmedUp = PrivateBytes();
    ASSERT_NE(warmedUp, 0u) << "the program's private bytes read 0";
    highest_ = 0;
    ASSERT_NO_FATAL_FAILURE(PaintEveryFace(kPaintsPerFace, "soak"));
    const SIZE_T end = PrivateBytes();
    std::printf("[soak] %d paints of each face in %.1f s; private bytes after warm-up %.2f MB, at the end %.2f MB, "
                "highest %.2f MB\n",
                kPaintsPerFace, run.Seconds(), Megabytes(warmedUp), Megabytes(end), Megabytes(highest_));
    EXPECT_LE(std::max(highest_, end), warmedUp + kGrowthAllowance)
        << "private bytes grew from " << warmedUp << " to " << std::max(highest_, end);

    // Every face is still painted exactly, each from a state change of its
    // own, and the two other buttons still show theirs at rest.
    ASSERT_NO_FATAL_FAILURE(FocusOnPriceBox());
    for (Face face : {Face::Normal, Face::Pressed, Face::Disabled, Face::Focused}) {
        if (face == Face::Focused) {
            ASSERT_NO_FATAL_FAILURE(EnterState(Face::Normal));  // a disabled button takes no focus
            ASSERT_NO_FATAL_FAILURE(FocusOnPaintedButton());
        }
        ASSERT_NO_FATAL_FAILURE(EnterState(face));
        ASSERT_TRUE(Repaint());
        const auto wrong = MismatchesAfterWait(face);
        EXPECT_TRUE(wrong.empty()) << "after the soak the button does not show the " << FaceName(face)
                                   << " face:" << FirstMismatches(wrong);
    }
    ASSERT_NO_FATAL_FAILURE(EnterState(Face::Normal));
    for (Id other : {Id::cmdGetZT, Id::cmdGetDT}) {
        RECT rect{};
        GetWindowRect(Hwnd(other), &rect);
        ASSERT_TRUE(Repaint(other));
        const auto wrong = FaceMismatches(Face::Normal, rect, 83, 25);
        EXPECT_TRUE(wrong.empty()) << NameOf(other) << " does not show the normal face:" << FirstMismatches(wrong);
    }

    // And it still calculates.
    ASSERT_TRUE(Send(Id::txtCurPrice, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"10")));
    ASSERT_TRUE(Send(Id::Command1, BM_CLICK));
    EXPECT_TRUE(ResultsAre(L"11", L"9"));
    EXPECT_TRUE(NoDialogShown());
}

}  // namespace
}  // namespace e2e
