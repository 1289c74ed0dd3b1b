// When hooking the window fails while it loads, the error's description is
// shown under "提示" with the information icon and one OK button, and the
// program then ends at once, without Unload. The real Load handling runs in a
// child process, made to fail through its test seam; the child reports the
// events it raises on its standard output.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <string>

#include "button_skin/form1_lifecycle.h"
#include "calculator/form1.h"
#include "forms_runtime/run.h"
#include "forms_runtime/runtime_error.h"
#include "window_harness.h"

namespace {

HANDLE g_childOut = nullptr;

void ReportEvent(const wchar_t* control, int, forms::Event event) {
    std::wstring line = std::wstring(control) + L"." + forms::EventName(event) + L"\n";
    std::string ascii(line.begin(), line.end());
    DWORD written = 0;
    WriteFile(g_childOut, ascii.data(), static_cast<DWORD>(ascii.size()), &written, nullptr);
}

void FailToHook() { forms::Raise(forms::ErrorNumber::Overflow); }

struct FoundBox {
    DWORD process;
    HWND box;
};

BOOL CALLBACK FindMessageBox(HWND hwnd, LPARAM param) {
    auto* found = reinterpret_cast<FoundBox*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    wchar_t cls[32] = {};
    GetClassNameW(hwnd, cls, 32);
    if (process == found->process && std::wstring(cls) == L"#32770" && IsWindowVisible(hwnd)) {
        found->box = hwnd;
        return FALSE;
    }
    return TRUE;
}

struct BoxContents {
    std::wstring title, text;
    int buttons = 0;
    HWND okButton = nullptr;
    bool hasIcon = false;
};

BOOL CALLBACK ReadChild(HWND child, LPARAM param) {
    auto* contents = reinterpret_cast<BoxContents*>(param);
    wchar_t cls[32] = {}, text[256] = {};
    GetClassNameW(child, cls, 32);
    GetWindowTextW(child, text, 256);
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    if (std::wstring(cls) == L"Button" && (style & WS_VISIBLE)) {
        ++contents->buttons;
        if (GetDlgCtrlID(child) == IDOK) contents->okButton = child;
    } else if (std::wstring(cls) == L"Static") {
        if ((style & SS_TYPEMASK) == SS_ICON) {
            contents->hasIcon = SendMessageW(child, STM_GETICON, 0, 0) != 0;
        } else if (text[0] != L'\0') {
            contents->text = text;
        }
    }
    return TRUE;
}

}  // namespace

int RunLoadFailureChild() {
    g_childOut = GetStdHandle(STD_OUTPUT_HANDLE);
    forms::SetEventTrace(ReportEvent);
    mVistaButton::testing::SetHookFault(FailToHook);
    forms::Run(calculator::kForm1, calculator::Form1Events(), GetModuleHandleW(nullptr));
    return 0;  // not reached: the failed load ends the program
}

TEST(WindowLoadFailure, ShowsTheDescriptionThenEndsWithoutUnload) {
    harness::ChildProcess child(L"--load-failure-child");
    ASSERT_TRUE(child.Started());

    FoundBox found{child.Id(), nullptr};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (found.box == nullptr && std::chrono::steady_clock::now() < deadline &&
           WaitForSingleObject(child.Process(), 20) == WAIT_TIMEOUT) {
        EnumWindows(FindMessageBox, reinterpret_cast<LPARAM>(&found));
    }
    ASSERT_NE(found.box, nullptr) << "no message box from the failing load";

    BoxContents contents;
    wchar_t title[64] = {};
    GetWindowTextW(found.box, title, 64);
    contents.title = title;
    EnumChildWindows(found.box, ReadChild, reinterpret_cast<LPARAM>(&contents));
    EXPECT_EQ(contents.title, L"提示");
    EXPECT_EQ(contents.text, forms::DefaultDescription(forms::ErrorNumber::Overflow));
    EXPECT_EQ(contents.buttons, 1);
    EXPECT_TRUE(contents.hasIcon);
    ASSERT_NE(contents.okButton, nullptr);

    // Until the user dismisses it, the program waits.
    EXPECT_EQ(WaitForSingleObject(child.Process(), 200), static_cast<DWORD>(WAIT_TIMEOUT));
    PostMessageW(contents.okButton, BM_CLICK, 0, 0);
    ASSERT_EQ(WaitForSingleObject(child.Process(), 10000), static_cast<DWORD>(WAIT_OBJECT_0));
    DWORD exitCode = 0;
    GetExitCodeProcess(child.Process(), &exitCode);
    EXPECT_NE(exitCode, 0u) << "a program that failed to start says so in its exit code";

    const std::string output = child.ReadOutput();
    EXPECT_NE(output.find("Form1.Load"), std::string::npos) << output;
    EXPECT_EQ(output.find("Unload"), std::string::npos) << "Unload ran: " << output;
    EXPECT_EQ(output.find("Click"), std::string::npos) << output;
}
