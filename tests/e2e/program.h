// The program under test as a separate process: starting and ending it,
// finding its window and controls, and reading what they show.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace e2e {

// The controls of the calculator window by their child-window ID: the window
// creates them in the order of its definition table, starting at 100.
enum class Id : int {
    cmdGetZT = 100,
    cmdGetDT = 101,
    Frame2 = 102,
    txtZTPrice = 103,
    txtDTPrice = 104,
    Label2_0 = 105,
    Label2_1 = 106,
    Command1 = 107,
    Frame1 = 108,
    Option2 = 109,
    Option1 = 110,
    txtCurPrice = 111,
    Label1 = 112,
};
const char* NameOf(Id id);

// The program's file as a Windows path: --program=PATH, else TAVIREL_EXE,
// else Tavirel.exe at the top of the build folder that holds this driver
// (tests/e2e/ below it). A Unix path (/...) is mapped onto drive Z:.
void SetProgramPath(const std::wstring& path);
std::wstring ProgramPath();
std::wstring WindowsPathOf(const std::wstring& path);

// Puts a started process into a job that ends it when the driver ends, so
// that a driver that dies leaves nothing running.
void EndWithDriver(HANDLE process);

std::wstring ClassOf(HWND window);
std::wstring TextOf(HWND window);  // WM_GETTEXT, safe across processes

class Program {
public:
    Program() = default;
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Starts the program and waits for its visible main window. On failure
    // the reason is in `error` and nothing is left running.
    bool Start(std::wstring& error);
    // Closes the window and waits for the process to end; kills it if it
    // does not. Returns whether it ended by itself with exit code 0.
    bool Close();
    void Kill();

    HWND Window() const { return window_; }
    DWORD ProcessId() const { return processId_; }
    DWORD ThreadId() const { return threadId_; }
    bool Alive() const;
    DWORD ExitCode() const;

    HWND Control(Id id) const;
    std::wstring Text(Id id) const { return TextOf(Control(id)); }
    bool Checked(Id id) const;
    HWND Focus() const;       // the focused window of the program's thread
    HWND Foreground() const;  // the active window of the program's thread

    // Visible top-level dialog windows (class #32770) of the program.
    std::vector<HWND> Dialogs() const;
    // The text of a run-time error report ("Tavirel" dialog), if one is shown.
    std::optional<std::wstring> RuntimeErrorReport() const;

    // Makes the main window the foreground window. Returns whether it is.
    bool Activate();

private:
    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
    DWORD processId_ = 0;
    DWORD threadId_ = 0;
};

// The parts of a message box, read from its child windows.
struct MessageBoxParts {
    std::wstring title;
    std::wstring text;                // the static that is not the icon
    std::vector<HWND> buttons;        // visible push buttons
    std::vector<std::wstring> buttonTexts;
    HWND icon = nullptr;              // the SS_ICON static, if any
    HICON iconHandle = nullptr;       // what it shows (STM_GETICON)
};
MessageBoxParts ReadMessageBox(HWND dialog);

}  // namespace e2e
