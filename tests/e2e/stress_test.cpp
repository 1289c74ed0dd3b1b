// The long runs of scripts/stress (filtered out of scripts/test): the
// running program soaked with paints and calculations, and fed hostile text.
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/driver.h"
#include "tests/win/face_rows.h"

namespace {

using namespace driver;

bool ShowsFace(HWND button, face_rows::Face face) {
    return WaitUntil([&] {
        int width = 0, height = 0;
        const auto pixels = ScreenPixels(button, width, height);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                if (!face_rows::UnderCaption(x, y) && pixels[y * width + x] != face_rows::Expected(face, x, y)) return false;
            }
        }
        return width == face_rows::kWidth;
    });
}

// A click that returns even when it opens a message box.
void Click(const Program& program, Id id) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(program.Control(id), BM_CLICK, 0, 0, SMTO_NORMAL, 2000, &ignored);
}

TEST(Stress, SeventyThousandPaintsOfEachFaceLeaveEveryFaceExact) {
    Program program;
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(program.Activate());
    HWND button = program.Control(cmdGetDT);
    driver::Click(program.Control(txtCurPrice));
    const auto paint = [button] {
        for (int i = 0; i < 70000; ++i) {
            InvalidateRect(button, nullptr, FALSE);
            SendMessageW(button, WM_PAINT, 0, 0);
        }
    };
    paint();  // at rest
    EXPECT_TRUE(ShowsFace(button, face_rows::kNormal));
    SendMessageW(button, BM_SETSTATE, TRUE, 0);
    paint();
    EXPECT_TRUE(ShowsFace(button, face_rows::kPressed));
    SendMessageW(button, BM_SETSTATE, FALSE, 0);
    EnableWindow(button, FALSE);
    paint();
    EXPECT_TRUE(ShowsFace(button, face_rows::kDisabled));
    EnableWindow(button, TRUE);
    Key(VK_TAB, {VK_SHIFT});
    Key(VK_TAB, {VK_SHIFT});
    ASSERT_TRUE(WaitUntil([&] { return program.Focus() == button; }));
    paint();
    EXPECT_TRUE(ShowsFace(button, face_rows::kFocused));
    EXPECT_TRUE(program.Close());
}

TEST(Stress, TenThousandCalculationsStayRight) {
    Program program;
    ASSERT_TRUE(program.Start());
    const struct { const wchar_t* price; const wchar_t* up; const wchar_t* down; } rows[] = {
        {L"10", L"11", L"9"}, {L"3.33", L"3.66", L"3"}, {L"123456.78", L"135802.5", L"111111.1"}};
    for (int i = 0; i < 10000; ++i) {
        const auto& row = rows[i % 3];
        program.SetText(txtCurPrice, row.price);
        Click(program, i % 7 == 0 ? cmdGetZT : Command1);
        if (i % 500 == 0 && i % 7 != 0) {
            ASSERT_EQ(program.Text(txtZTPrice), row.up) << "calculation " << i;
            ASSERT_EQ(program.Text(txtDTPrice), row.down) << "calculation " << i;
        }
    }
    EXPECT_TRUE(program.Close());
}

TEST(Stress, HostileTextInEveryBoxNeverBreaksTheProgram) {
    Program program;
    ASSERT_TRUE(program.Start());
    const std::wstring texts[] = {std::wstring(32767, L'9'), L"1" + std::wstring(400, L'0'), L"1e99999999999", L"1e-400",
                                  L"-0", L".", L"3.1e38", L"3.0934761551103933e+38", std::wstring(5000, L'.'),
                                  L"\xD800", L"\uFF11\uFF12", L"1\u00002", L"12.1\u202E", L"-1e400", L"0.005"};
    for (const std::wstring& text : texts) {
        for (const Id box : {txtCurPrice, txtZTPrice, txtDTPrice}) {
            program.SetText(box, text);
            for (const Id button : {Command1, cmdGetZT, cmdGetDT}) {
                Click(program, button);
                if (HWND message = program.Dialog()) {  // the price message, for a price not above 0
                    wchar_t title[16] = {};
                    GetWindowTextW(message, title, 16);
                    ASSERT_STREQ(title, L"提示");
                    SendMessageW(message, WM_COMMAND, IDOK, 0);
                }
            }
            SendMessageW(program.Control(box), WM_LBUTTONDBLCLK, 0, 0);
            SendMessageW(program.Control(box), WM_LBUTTONUP, 0, 0);
            ASSERT_TRUE(program.Responsive());
            ASSERT_TRUE(program.Alive());
        }
    }
    EXPECT_TRUE(program.Close());
}

}  // namespace
