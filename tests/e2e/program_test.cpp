#include "tests/e2e/program_test.h"

namespace e2e {

std::string Narrow(const std::wstring& text) {
    if (text.empty()) return {};
    const int wide = static_cast<int>(text.size());
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, narrow.data(), bytes, nullptr, nullptr);
    return narrow;
}

namespace {

std::string Quoted(const std::wstring& text) {
    std::string quoted(1, '"');
    quoted += Narrow(text);
    quoted += '"';
    return quoted;
}

std::string NameOfWindow(const Program& program, HWND window) {
    if (window == nullptr) return "nothing";
    for (int id = static_cast<int>(Id::cmdGetZT); id <= static_cast<int>(Id::Label1); ++id) {
        if (program.Control(static_cast<Id>(id)) == window) return NameOf(static_cast<Id>(id));
    }
    if (window == program.Window()) return "the main window";
    return Narrow(ClassOf(window)) + " " + Quoted(TextOf(window));
}

}  // namespace

void ProgramTest::SetUp() {
    std::wstring error;
    ASSERT_TRUE(program_.Start(error)) << Narrow(error);
    Activate();
}

void ProgramTest::TearDown() {
    if (program_.Window() == nullptr) return;  // it never started
    const bool broken = ProgramBroken();
    const bool boxOpen = !program_.Dialogs().empty();
    const bool closed = program_.Close();
    // Closing the window ends the program, cleanly, unless the test left it
    // with a message open or broken.
    if (!broken && !boxOpen) {
        EXPECT_TRUE(closed) << "the program did not end with exit code 0 when closed";
    }
}

bool ProgramTest::ProgramBroken() {
    if (brokenReported_) return true;
    if (const auto report = program_.RuntimeErrorReport()) {
        ADD_FAILURE() << "the program reported a run-time error: " << Quoted(*report);
        brokenReported_ = true;
    } else if (!program_.Alive()) {
        ADD_FAILURE() << "the program has ended, exit code " << program_.ExitCode();
        brokenReported_ = true;
    }
    return brokenReported_;
}

::testing::AssertionResult ProgramTest::TextBecomes(Id id, const std::wstring& expected, DWORD timeoutMs) {
    if (Wait([&] { return Text(id) == expected; }, timeoutMs)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << NameOf(id) << " shows " << Quoted(Text(id)) << ", expected "
                                         << Quoted(expected);
}

::testing::AssertionResult ProgramTest::FocusBecomes(Id id, DWORD timeoutMs) {
    if (Wait([&] { return program_.Focus() == Control(id); }, timeoutMs)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the focus is on " << NameOfWindow(program_, program_.Focus())
                                         << ", expected " << NameOf(id);
}

::testing::AssertionResult ProgramTest::ResultsAre(const std::wstring& limitUp, const std::wstring& limitDown) {
    const std::wstring up = Text(Id::txtZTPrice);
    const std::wstring down = Text(Id::txtDTPrice);
    if (up == limitUp && down == limitDown) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "results " << Quoted(up) << " / " << Quoted(down) << ", expected "
                                         << Quoted(limitUp) << " / " << Quoted(limitDown);
}

::testing::AssertionResult ProgramTest::NoDialogShown() {
    const auto dialogs = program_.Dialogs();
    if (dialogs.empty()) return ::testing::AssertionSuccess();
    const MessageBoxParts parts = ReadMessageBox(dialogs.front());
    return ::testing::AssertionFailure() << "the program shows a dialog " << Quoted(parts.title) << ": "
                                         << Quoted(parts.text);
}

::testing::AssertionResult ProgramTest::Responsive() {
    if (!program_.Alive()) return ::testing::AssertionFailure() << "the program has ended";
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutW(program_.Window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kDefaultTimeout, &ignored)) {
        return ::testing::AssertionFailure() << "the program does not answer";
    }
    return ::testing::AssertionSuccess();
}

void ProgramTest::Activate() {
    ASSERT_TRUE(program_.Activate()) << "the program's window could not be brought to the front; the foreground is "
                                     << NameOfWindow(program_, GetForegroundWindow());
}

void ProgramTest::ClickOn(Id id) {
    Activate();
    if (HasFatalFailure()) return;
    Click(CentreOf(Control(id)));
}

void ProgramTest::ClickAtEndOf(Id id) {
    Activate();
    if (HasFatalFailure()) return;
    RECT client{};
    GetClientRect(Control(id), &client);
    Click(ClientPointOf(Control(id), client.right - 4, client.bottom / 2));
}

void ProgramTest::ClickIntoAndClear(Id id) {
    ASSERT_NO_FATAL_FAILURE(ClickAtEndOf(id));
    ASSERT_TRUE(FocusBecomes(id));
    Press(VK_HOME);
    Press(VK_END, {VK_SHIFT});
    Press(VK_DELETE);
    ASSERT_TRUE(TextBecomes(id, L""));
}

void ProgramTest::EnterPrice(const std::wstring& text) {
    ASSERT_NO_FATAL_FAILURE(ClickIntoAndClear(Id::txtCurPrice));
    TypeText(text);
    ASSERT_TRUE(TextBecomes(Id::txtCurPrice, text));
}

void ProgramTest::Settle() {
    const std::wstring price = Text(Id::txtCurPrice);
    ASSERT_NO_FATAL_FAILURE(ClickAtEndOf(Id::txtCurPrice));
    Press(VK_END);
    TypeText(L"9");
    ASSERT_TRUE(TextBecomes(Id::txtCurPrice, price + L"9")) << "(a digit typed after the input before it)";
    Press(VK_BACK);
    ASSERT_TRUE(TextBecomes(Id::txtCurPrice, price));
}

HWND ProgramTest::WaitForDialog(DWORD timeoutMs) {
    HWND dialog = nullptr;
    Wait(
        [&] {
            const auto dialogs = program_.Dialogs();
            if (dialogs.empty()) return false;
            dialog = dialogs.front();
            return true;
        },
        timeoutMs);
    return dialog;
}

}  // namespace e2e
