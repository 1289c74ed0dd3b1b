// The window procedure of the skin on a window of the test's own class, whose
// procedure records what reaches it and answers with values of its own.
#include <windows.h>

#include <atomic>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "button_skin/mVistaButton.h"
#include "forms_runtime/application.h"
#include "tests/win/face_model.h"

// The runtime's report of an untrapped error shows a message box and ends the
// program; this executable does not link the runtime. Here the report is
// recorded and ends the thread that asked for it, which must be the one test
// thread that expects it: anywhere else the run aborts.
namespace {
std::atomic<int> reportedError{0};
std::atomic<DWORD> threadExpectingReport{0};
}  // namespace

namespace forms {
[[noreturn]] void ReportUntrappedError(const RuntimeError& error) {
    reportedError = static_cast<int>(error.Number());
    if (GetCurrentThreadId() == threadExpectingReport) ExitThread(0);
    std::fprintf(stderr, "unexpected untrapped run-time error %d\n", static_cast<int>(error.Number()));
    std::abort();
}
}  // namespace forms

namespace skin_test {
namespace {

using mVistaButton::Face;

struct Seen {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LONG_PTR procedureThen;  // the window's procedure while this message was handled
};
std::vector<Seen> seen;

LRESULT Answer(UINT message) { return 0x5EC0DE + message; }

LRESULT CALLBACK Recorder(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DRAWITEM || message == WM_DESTROY || message >= WM_APP) {
        seen.push_back({message, wParam, lParam, GetWindowLongPtrW(window, GWLP_WNDPROC)});
        return Answer(message);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// Whether a draw request is unchanged, member by member: the record has
// padding between its members in 64-bit builds, which comparing its bytes
// would read too.
bool SameRequest(const DRAWITEMSTRUCT& a, const DRAWITEMSTRUCT& b) {
    return a.CtlType == b.CtlType && a.CtlID == b.CtlID && a.itemID == b.itemID &&
           a.itemAction == b.itemAction && a.itemState == b.itemState && a.hwndItem == b.hwndItem &&
           a.hDC == b.hDC && EqualRect(&a.rcItem, &b.rcItem) && a.itemData == b.itemData;
}

const LONG_PTR kRecorder = reinterpret_cast<LONG_PTR>(&Recorder);
const LONG_PTR kSkin = reinterpret_cast<LONG_PTR>(&mVistaButton::WindowProc);

class Dispatch : public ::testing::Test {
protected:
    void SetUp() override {
        static const ATOM atom = [] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = Recorder;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpszClassName = L"TavirelSkinRecorder";
            return RegisterClassW(&wc);
        }();
        ASSERT_NE(atom, 0);
        window_ = CreateWindowExW(0, L"TavirelSkinRecorder", L"", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(window_, nullptr);
        mVistaButton::PrevWndProc = nullptr;
        seen.clear();
    }
    void TearDown() override {
        SetWindowLongPtrW(window_, GWLP_WNDPROC, kRecorder);
        DestroyWindow(window_);
    }
    HWND Button(const std::wstring& caption) {
        return CreateWindowExW(0, L"BUTTON", caption.c_str(), WS_CHILD | BS_OWNERDRAW, 0, 0, 83, 25,
                               window_, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    bool Saw(UINT message) const {
        for (const Seen& s : seen)
            if (s.message == message) return true;
        return false;
    }
    HWND window_ = nullptr;
};

TEST_F(Dispatch, HookingPutsTheSkinInFrontAndPassesOtherMessagesOnUnchanged) {
    mVistaButton::HookWindow(window_);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(mVistaButton::PrevWndProc), kRecorder);
    EXPECT_EQ(GetWindowLongPtrW(window_, GWLP_WNDPROC), kSkin);
    EXPECT_EQ(SendMessageW(window_, WM_APP + 3, 0x1234, 0x5678), Answer(WM_APP + 3));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].wParam, 0x1234u);
    EXPECT_EQ(seen[0].lParam, 0x5678);
}

TEST_F(Dispatch, DrawRequestsForOtherControlsArePassedOnAndTheirAnswerReturned) {
    Canvas canvas(100, 40, 0);
    mVistaButton::HookWindow(window_);
    for (UINT type : {ODT_MENU, ODT_LISTBOX, ODT_COMBOBOX, ODT_STATIC}) {
        SCOPED_TRACE(type);
        seen.clear();
        DRAWITEMSTRUCT request{type, 1, 0, ODA_DRAWENTIRE, 0, Button(L"x"), canvas.Dc(), {0, 0, 83, 25}, 0};
        const DRAWITEMSTRUCT before = request;
        EXPECT_EQ(SendMessageW(window_, WM_DRAWITEM, 1, reinterpret_cast<LPARAM>(&request)), Answer(WM_DRAWITEM));
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].lParam, reinterpret_cast<LPARAM>(&request));
        EXPECT_TRUE(SameRequest(before, request));
        EXPECT_EQ(canvas.Pixels(), Picture(canvas).pixels) << "painted";
    }
}

TEST_F(Dispatch, ButtonRequestsArePaintedInTheFaceOfTheirStateAndNotPassedOn) {
    const struct {
        UINT state;
        Kind face;
    } cases[] = {
        {0, Kind::Normal},
        {ODS_SELECTED, Kind::Pressed},
        {ODS_FOCUS, Kind::Focused},
        {ODS_DISABLED, Kind::Disabled},
        {ODS_SELECTED | ODS_FOCUS | ODS_DEFAULT, Kind::Pressed},
    };
    Canvas canvas(100, 40, 0);
    mVistaButton::HookWindow(window_);
    const HWND button = Button(L"");
    for (const auto& c : cases) {
        SCOPED_TRACE(Name(c.face));
        canvas.Clear();
        seen.clear();
        // The skin paints at (0, 0) whatever the item rectangle says.
        DRAWITEMSTRUCT request{ODT_BUTTON, 7, 0, ODA_DRAWENTIRE, c.state, button, canvas.Dc(), {5, 7, 88, 32}, 0};
        const DRAWITEMSTRUCT before = request;
        EXPECT_EQ(SendMessageW(window_, WM_DRAWITEM, 0xBEEF, reinterpret_cast<LPARAM>(&request)), 1);
        EXPECT_FALSE(Saw(WM_DRAWITEM));
        EXPECT_TRUE(SameRequest(before, request)) << "the platform's record changed";
        EXPECT_TRUE(SamePicture(canvas.Pixels(), ExpectFace(c.face, before.rcItem, canvas).picture));
    }
}

TEST_F(Dispatch, DestroyUnhooksAndIsStillPassedOn) {
    mVistaButton::HookWindow(window_);
    EXPECT_EQ(SendMessageW(window_, WM_DESTROY, 0, 0), Answer(WM_DESTROY));
    ASSERT_TRUE(Saw(WM_DESTROY));
    EXPECT_EQ(seen.back().procedureThen, kRecorder);
    EXPECT_EQ(GetWindowLongPtrW(window_, GWLP_WNDPROC), kRecorder);
    // Kept, not cleared.
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(mVistaButton::PrevWndProc), kRecorder);
}

TEST_F(Dispatch, UnhookingBeforeAnyHookLeavesTheWindowAlone) {
    SetWindowLongPtrW(window_, GWLP_WNDPROC, kSkin);
    mVistaButton::UnhookWindow(window_);
    EXPECT_EQ(GetWindowLongPtrW(window_, GWLP_WNDPROC), kSkin);
    EXPECT_EQ(mVistaButton::PrevWndProc, nullptr);
}

TEST_F(Dispatch, AFailedHookLeavesNoPreviousProcedure) {
    mVistaButton::PrevWndProc = &Recorder;
    mVistaButton::HookWindow(nullptr);
    EXPECT_EQ(mVistaButton::PrevWndProc, nullptr);
}

TEST(ChooseFace, DisabledBeatsPressedBeatsFocusedAndOtherBitsDoNotCount) {
    const struct {
        UINT state;
        Face face;
    } bits[] = {
        {0, Face::Normal},     {0x1, Face::Pressed},   {0x4, Face::Disabled},  {0x5, Face::Disabled},
        {0x10, Face::Focused}, {0x11, Face::Pressed},  {0x14, Face::Disabled}, {0x15, Face::Disabled},
    };
    const UINT others[] = {0,     ODS_GRAYED, ODS_CHECKED, ODS_DEFAULT, ODS_HOTLIGHT, ODS_INACTIVE,
                           ODS_NOACCEL, ODS_NOFOCUSRECT, ODS_COMBOBOXEDIT, 0x2u | 0x8u | 0x20u | 0x100u,
                           ~0x15u};
    for (const auto& b : bits)
        for (UINT other : others)
            EXPECT_EQ(mVistaButton::ChooseFace(b.state | other), b.face) << std::hex << (b.state | other);
}

TEST_F(Dispatch, TheCaptionIsTheButtonTextCutTo254CharactersDrawnTransparently) {
    std::wstring text;
    for (int i = 0; i < 300; ++i) text += static_cast<wchar_t>(L'a' + i % 26);
    constexpr int kWidth = 3000;
    Canvas canvas(kWidth, 25, 0);
    SIZE extent{};
    GetTextExtentPoint32W(canvas.Dc(), text.c_str(), 256, &extent);
    ASSERT_LT(extent.cx, kWidth - 40) << "the test's text does not fit";

    const auto paint = [&](const std::wstring& caption) {
        canvas.Clear();
        SetBkMode(canvas.Dc(), OPAQUE);
        RECT item{0, 0, kWidth, 25};
        mVistaButton::DrawButton(Button(caption), canvas.Dc(), item, 0);
        EXPECT_EQ(GetBkMode(canvas.Dc()), TRANSPARENT);
        return canvas.Pixels();
    };
    const std::vector<Pixel> whole = paint(text);
    EXPECT_EQ(whole, paint(text.substr(0, 255)));
    EXPECT_EQ(whole, paint(text.substr(0, 254)));
    EXPECT_NE(whole, paint(text.substr(0, 253)));

    // The same as the face itself draws it on a transparent DC.
    RECT item{0, 0, kWidth, 25};
    canvas.Clear();
    SetBkMode(canvas.Dc(), TRANSPARENT);
    DrawFace(Kind::Normal, canvas.Dc(), item, text.substr(0, 254).c_str());
    EXPECT_EQ(whole, canvas.Pixels());
}

TEST_F(Dispatch, AnErrorWhilePaintingIsReportedAsUntrapped) {
    mVistaButton::HookWindow(window_);
    struct Call {
        HWND window;
        DRAWITEMSTRUCT request;
    };
    // W = INT_MAX - (-1) overflows; the caption of no window is empty.
    Call call{window_, {ODT_BUTTON, 1, 0, ODA_DRAWENTIRE, 0, nullptr, nullptr, {-1, 0, INT_MAX, 25}, 0}};
    const DRAWITEMSTRUCT before = call.request;
    reportedError = 0;
    struct Thread {
        static DWORD WINAPI Run(void* p) {
            threadExpectingReport = GetCurrentThreadId();
            auto* c = static_cast<Call*>(p);
            mVistaButton::WindowProc(c->window, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&c->request));
            return 1;  // not reached when the error is reported
        }
    };
    DWORD id = 0;
    const HANDLE thread = CreateThread(nullptr, 0, &Thread::Run, &call, 0, &id);
    ASSERT_NE(thread, nullptr);
    const DWORD waited = WaitForSingleObject(thread, 10000);
    DWORD exitCode = 2;
    GetExitCodeThread(thread, &exitCode);
    CloseHandle(thread);
    ASSERT_EQ(waited, WAIT_OBJECT_0);
    threadExpectingReport = 0;
    EXPECT_EQ(reportedError, static_cast<int>(forms::ErrorNumber::Overflow));
    EXPECT_EQ(exitCode, 0u) << "the thread was not ended by the report";
    EXPECT_TRUE(SameRequest(before, call.request));
}

}  // namespace
}  // namespace skin_test
