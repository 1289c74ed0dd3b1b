// The faces painted on a memory DC and read back pixel by pixel against the
// pictures worked out by hand; the window procedure's dispatch; and what a
// paint leaves behind in GDI.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "button_skin/mVistaButton.h"
#include "tests/win/face_rows.h"

namespace {

using face_rows::Face;
constexpr COLORREF kUntouched = RGB(255, 0, 255);
constexpr void (*kDraw[])(HDC, RECT&, const wchar_t*) = {
    mVistaButton::DrawNormalFace, mVistaButton::DrawPressedFace, mVistaButton::DrawFocusedFace,
    mVistaButton::DrawDisabledFace};

// A memory DC on a 24-bit bitmap, filled with a colour no face uses.
class Canvas {
public:
    Canvas() : dc_(CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), 120, -40, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
        Clear();
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    void Clear() {
        RECT all{0, 0, 120, 40};
        HBRUSH brush = CreateSolidBrush(kUntouched);
        FillRect(dc_, &all, brush);
        DeleteObject(brush);
    }
    HDC dc() const { return dc_; }
    COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }

private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
};

std::string Hex(COLORREF c) {
    char text[16];
    snprintf(text, sizeof text, "%06lx", static_cast<unsigned long>(c));
    return text;
}

TEST(Faces, EachFaceOfTheWindowsButtonsIsTheHandWorkedPicture) {
    Canvas canvas;
    for (int face = 0; face < 4; ++face) {
        canvas.Clear();
        RECT item{0, 0, face_rows::kWidth, face_rows::kHeight};
        kDraw[face](canvas.dc(), item, L"");
        int wrong = 0;
        for (int y = 0; y <= face_rows::kHeight; ++y) {
            for (int x = 0; x <= face_rows::kWidth; ++x) {
                const bool outside = x == face_rows::kWidth || y == face_rows::kHeight;
                const COLORREF expected = outside ? kUntouched : face_rows::Expected(Face(face), x, y);
                if (canvas.At(x, y) != expected && ++wrong <= 3) {
                    ADD_FAILURE() << "face " << face << " at (" << x << ", " << y << "): " << Hex(canvas.At(x, y))
                                  << " instead of " << Hex(expected);
                }
            }
        }
        EXPECT_EQ(wrong, 0) << "face " << face;
    }
}

TEST(Faces, BandsLieOnTheRowsWorkedOutByHand) {
    const struct { Face face; int height; int firstRows[6]; int lastRowOfBand6; } cases[] = {
        {face_rows::kNormal, 23, {2, 3, 6, 9, 12, 15}, 20},
        {face_rows::kNormal, 30, {2, 4, 8, 12, 16, 20}, 27},
        {face_rows::kPressed, 23, {2, 5, 10, 14, 17, 20}, 20},
        {face_rows::kPressed, 30, {2, 6, 12, 17, 21, 25}, 27},
    };
    Canvas canvas;
    for (const auto& c : cases) {
        RECT item{0, 0, 40, c.height};
        kDraw[c.face](canvas.dc(), item, L"");
        for (int band = 0; band < 6; ++band) {
            const int last = band == 5 ? c.lastRowOfBand6 : c.firstRows[band + 1] - 1;
            for (int y = c.firstRows[band]; y <= last; ++y) {
                EXPECT_EQ(canvas.At(20, y), face_rows::kPictures[c.face].band[band])
                    << "face " << c.face << ", H = " << c.height << ", row " << y;
            }
        }
    }
}

TEST(Faces, CaptionIsCentredInTheFacesTextColour) {
    Canvas canvas;
    SetBkMode(canvas.dc(), TRANSPARENT);
    const COLORREF text[] = {RGB(0, 0, 0), RGB(0, 0, 0), RGB(0, 0, 0), RGB(131, 131, 131)};
    for (int face = 0; face < 4; ++face) {
        RECT item{0, 0, face_rows::kWidth, face_rows::kHeight};
        kDraw[face](canvas.dc(), item, L"WW");
        int inText = 0;
        for (int y = 0; y < face_rows::kHeight; ++y) {
            for (int x = 0; x < face_rows::kWidth; ++x) {
                if (canvas.At(x, y) != text[face]) continue;
                EXPECT_TRUE(face_rows::UnderCaption(x, y)) << "face " << face << " at (" << x << ", " << y << ")";
                ++inText;
            }
        }
        EXPECT_GT(inText, 10) << "face " << face;
    }
}

// How many more brushes this process can create: exact, where Wine's
// GetGuiResources answers 0.
int BrushHeadroom() {
    std::vector<HBRUSH> brushes;
    while (HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3))) brushes.push_back(brush);
    for (HBRUSH brush : brushes) DeleteObject(brush);
    return static_cast<int>(brushes.size());
}

TEST(Faces, PaintsFreeEveryBrushAndPenAndLeaveTheDcAsFound) {
    Canvas canvas;
    HBRUSH brush = CreateSolidBrush(RGB(9, 9, 9));
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(9, 9, 9));
    SelectObject(canvas.dc(), brush);
    SelectObject(canvas.dc(), pen);
    const int before = BrushHeadroom();
    for (int face = 0; face < 4; ++face) {
        for (int paint = 0; paint < 1000; ++paint) {
            RECT item{0, 0, face_rows::kWidth, face_rows::kHeight};
            kDraw[face](canvas.dc(), item, L"计算");
        }
    }
    EXPECT_EQ(BrushHeadroom(), before);
    EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_BRUSH), brush);
    EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_PEN), pen);
    SelectObject(canvas.dc(), GetStockObject(WHITE_BRUSH));
    SelectObject(canvas.dc(), GetStockObject(BLACK_PEN));
    DeleteObject(brush);
    DeleteObject(pen);
}

// The window procedure under the skin: it records what reaches it.
std::vector<UINT> g_passedOn;
LONG_PTR g_procAtDestroy = 0;
LRESULT CALLBACK Recorder(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    g_passedOn.push_back(msg);
    if (msg == WM_DESTROY) g_procAtDestroy = GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
    return msg == WM_DRAWITEM ? 1234 : DefWindowProcW(hwnd, msg, wParam, lParam);
}

TEST(Dispatch, ButtonsArePaintedInTheFaceOfTheirStateAndTheRestIsPassedOn) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Recorder;
    wc.lpszClassName = L"SkinDispatchTest";
    RegisterClassW(&wc);
    HWND window = CreateWindowW(L"SkinDispatchTest", L"", WS_OVERLAPPED, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    HWND button = CreateWindowW(L"BUTTON", L"", WS_CHILD | BS_OWNERDRAW, 0, 0, 83, 25, window, nullptr, nullptr, nullptr);
    mVistaButton::HookWindow(window);
    Canvas canvas;
    const struct { UINT state; Face face; } states[] = {
        {0, face_rows::kNormal}, {ODS_FOCUS, face_rows::kFocused}, {ODS_SELECTED | ODS_FOCUS, face_rows::kPressed},
        {ODS_DISABLED | ODS_SELECTED | ODS_FOCUS, face_rows::kDisabled}, {ODS_DEFAULT | ODS_HOTLIGHT, face_rows::kNormal},
    };
    for (const auto& s : states) {
        DRAWITEMSTRUCT request{ODT_BUTTON, 0, 0, ODA_DRAWENTIRE, s.state, button, canvas.dc(), {0, 0, 83, 25}, 0};
        g_passedOn.clear();
        EXPECT_EQ(SendMessageW(window, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&request)), 1);
        EXPECT_TRUE(g_passedOn.empty());
        EXPECT_EQ(canvas.At(1, 0), face_rows::Expected(s.face, 1, 0)) << "state " << s.state;
        EXPECT_EQ(request.rcItem.right, 83);  // the faces work on a copy
    }
    DRAWITEMSTRUCT listItem{ODT_LISTBOX, 0, 0, ODA_DRAWENTIRE, 0, button, canvas.dc(), {0, 0, 83, 25}, 0};
    g_passedOn.clear();
    EXPECT_EQ(SendMessageW(window, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&listItem)), 1234);
    EXPECT_EQ(g_passedOn, std::vector<UINT>{WM_DRAWITEM});
    g_passedOn.clear();
    DestroyWindow(window);  // unhooks first, then still reaches the procedure below
    EXPECT_NE(std::find(g_passedOn.begin(), g_passedOn.end(), UINT{WM_DESTROY}), g_passedOn.end());
    EXPECT_EQ(g_procAtDestroy, reinterpret_cast<LONG_PTR>(&Recorder));
}

}  // namespace
