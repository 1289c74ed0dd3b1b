// The fixture of the end-to-end tests: a fresh program for each test, used
// through real input only, and what a person would look at afterwards.
#pragma once

#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "tests/e2e/program.h"
#include "tests/e2e/user_input.h"
#include "tests/e2e/wait.h"

namespace e2e {

std::string Narrow(const std::wstring& text);  // UTF-8, for messages

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    HWND Control(Id id) const { return program_.Control(id); }
    std::wstring Text(Id id) const { return program_.Text(id); }

    // Polls `condition`; gives up at once when the program has ended or shows
    // a run-time error report, which is then a failure of the test.
    template <typename Condition>
    bool Wait(Condition&& condition, DWORD timeoutMs = kDefaultTimeout) {
        bool broken = false;
        const bool met = WaitUntil(
            [&] {
                if (condition()) return true;
                broken = ProgramBroken();
                return broken;
            },
            timeoutMs);
        return met && !broken;
    }
    bool ProgramBroken();  // records the failure once

    // Waits for a control's text; the assertion tells what it shows instead.
    ::testing::AssertionResult TextBecomes(Id id, const std::wstring& expected, DWORD timeoutMs = kDefaultTimeout);
    ::testing::AssertionResult FocusBecomes(Id id, DWORD timeoutMs = kDefaultTimeout);
    // Both result boxes show these texts now (after a sentinel, no waiting).
    ::testing::AssertionResult ResultsAre(const std::wstring& limitUp, const std::wstring& limitDown);
    ::testing::AssertionResult NoDialogShown();
    ::testing::AssertionResult Responsive();

    // The main window in front, ready for keys and clicks.
    void Activate();
    // A real click in the middle of a control.
    void ClickOn(Id id);
    // A real click in a text box near its right end, which puts the caret
    // after its text.
    void ClickAtEndOf(Id id);
    // Focus in a text box with a real click; the box emptied with keys.
    void ClickIntoAndClear(Id id);
    // The price typed into the emptied price box, checked as it arrives.
    void EnterPrice(const std::wstring& text);
    // Clicks 计算.
    void Calculate() { ClickOn(Id::Command1); }
    // Makes sure that all input sent so far has been handled: clicks into
    // the price box, types a digit after its text, waits for it to show and
    // takes it away again. Input is handled in order, so whatever came
    // before is done. The price box must not be waiting for earlier typing.
    void Settle();

    // The visible message box of the program, once it appears.
    HWND WaitForDialog(DWORD timeoutMs = kDefaultTimeout);

    Program program_;

private:
    bool brokenReported_ = false;
};

}  // namespace e2e
