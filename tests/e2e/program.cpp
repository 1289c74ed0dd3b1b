#include "tests/e2e/program.h"

#include <cstdlib>

#include "tests/e2e/user_input.h"
#include "tests/e2e/wait.h"

namespace e2e {

namespace {

constexpr DWORD kStartTimeout = 30000;  // the first Wine start of a session is slow
constexpr DWORD kCloseTimeout = 5000;
constexpr UINT kMessageTimeout = 2000;

std::wstring& ConfiguredPath() {
    static std::wstring path;
    return path;
}

struct WindowSearch {
    DWORD processId;
    const wchar_t* className;
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM param) {
    auto& search = *reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != search.processId) return TRUE;
    if (search.visibleOnly && !IsWindowVisible(window)) return TRUE;
    if (ClassOf(window) == search.className) search.found.push_back(window);
    return TRUE;
}

std::vector<HWND> TopLevelWindows(DWORD processId, const wchar_t* className, bool visibleOnly) {
    WindowSearch search{processId, className, visibleOnly, {}};
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct ChildSearch {
    int id;
    HWND found;
};

BOOL CALLBACK FindChildById(HWND child, LPARAM param) {
    auto& search = *reinterpret_cast<ChildSearch*>(param);
    if (GetDlgCtrlID(child) == search.id) {
        search.found = child;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CollectChildren(HWND child, LPARAM param) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(child);
    return TRUE;
}

}  // namespace

const char* NameOf(Id id) {
    switch (id) {
    case Id::cmdGetZT: return "cmdGetZT";
    case Id::cmdGetDT: return "cmdGetDT";
    case Id::Frame2: return "Frame2";
    case Id::txtZTPrice: return "txtZTPrice";
    case Id::txtDTPrice: return "txtDTPrice";
    case Id::Label2_0: return "Label2(0)";
    case Id::Label2_1: return "Label2(1)";
    case Id::Command1: return "Command1";
    case Id::Frame1: return "Frame1";
    case Id::Option2: return "Option2";
    case Id::Option1: return "Option1";
    case Id::txtCurPrice: return "txtCurPrice";
    case Id::Label1: return "Label1";
    }
    return "?";
}

void SetProgramPath(const std::wstring& path) { ConfiguredPath() = path; }

std::wstring WindowsPathOf(const std::wstring& path) {
    if (path.empty() || path[0] != L'/') return path;
    std::wstring windows = L"Z:" + path;
    for (wchar_t& c : windows) {
        if (c == L'/') c = L'\\';
    }
    return windows;
}

std::wstring ProgramPath() {
    if (!ConfiguredPath().empty()) return WindowsPathOf(ConfiguredPath());
    const DWORD length = GetEnvironmentVariableW(L"TAVIREL_EXE", nullptr, 0);
    if (length > 0) {
        std::wstring value(length, L'\0');
        value.resize(GetEnvironmentVariableW(L"TAVIREL_EXE", value.data(), length));
        return WindowsPathOf(value);
    }
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    for (int level = 0; level < 3 && path.find_last_of(L'\\') != std::wstring::npos; ++level) {
        path.resize(path.find_last_of(L'\\'));
    }
    return path + L"\\Tavirel.exe";
}

void EndWithDriver(HANDLE process) {
    static const HANDLE job = [] {
        HANDLE created = CreateJobObjectW(nullptr, nullptr);
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        if (created != nullptr) {
            SetInformationJobObject(created, JobObjectExtendedLimitInformation, &limits, sizeof limits);
        }
        return created;
    }();
    if (job != nullptr) AssignProcessToJobObject(job, process);
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::wstring TextOf(HWND window) {
    if (window == nullptr) return L"<no window>";
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeout, &length)) {
        return L"<no answer>";
    }
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, kMessageTimeout, &copied)) {
        return L"<no answer>";
    }
    text.resize(copied);
    return text;
}

Program::~Program() {
    if (process_.hProcess != nullptr) {
        Close();
    }
}

bool Program::Start(std::wstring& error) {
    const std::wstring path = ProgramPath();
    if (path.empty()) {
        error = L"the program's path is not set (TAVIREL_EXE or --program=PATH)";
        return false;
    }
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        error = L"the program is not at " + path;
        return false;
    }
    std::wstring commandLine = L"\"" + path + L"\"";
    std::wstring directory = path.substr(0, path.find_last_of(L'\\'));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.c_str(), &startup, &process_)) {
        error = L"CreateProcessW failed for " + path + L", error " + std::to_wstring(GetLastError());
        process_ = {};
        return false;
    }
    EndWithDriver(process_.hProcess);
    processId_ = process_.dwProcessId;
    WaitForInputIdle(process_.hProcess, kStartTimeout);
    const bool shown = WaitUntil(
        [&] {
            if (!Alive()) return true;
            const auto windows = TopLevelWindows(processId_, L"TavirelForm", true);
            if (windows.empty()) return false;
            window_ = windows.front();
            return true;
        },
        kStartTimeout);
    if (!shown || window_ == nullptr) {
        error = Alive() ? L"the program showed no window" :
                          L"the program ended at start, exit code " + std::to_wstring(ExitCode());
        Kill();
        return false;
    }
    threadId_ = GetWindowThreadProcessId(window_, nullptr);
    // The window is up once its last control exists and it has painted.
    if (!WaitUntil([&] { return Control(Id::Label1) != nullptr && Focus() != nullptr; }, kStartTimeout)) {
        error = L"the program's controls did not appear";
        Kill();
        return false;
    }
    return true;
}

bool Program::Alive() const {
    return process_.hProcess != nullptr && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

DWORD Program::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (process_.hProcess != nullptr) GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

bool Program::Close() {
    if (process_.hProcess == nullptr) return false;
    bool clean = false;
    if (Alive() && Dialogs().empty()) {
        PostMessageW(window_, WM_CLOSE, 0, 0);
        clean = WaitForSingleObject(process_.hProcess, kCloseTimeout) == WAIT_OBJECT_0 && ExitCode() == 0;
    }
    Kill();
    return clean;
}

void Program::Kill() {
    if (process_.hProcess == nullptr) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.hProcess, 255);
        WaitForSingleObject(process_.hProcess, kCloseTimeout);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
    process_ = {};
}

HWND Program::Control(Id id) const {
    if (window_ == nullptr) return nullptr;
    ChildSearch search{static_cast<int>(id), nullptr};
    EnumChildWindows(window_, FindChildById, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool Program::Checked(Id id) const {
    DWORD_PTR state = 0;
    SendMessageTimeoutW(Control(id), BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeout, &state);
    return state == BST_CHECKED;
}

HWND Program::Focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(threadId_, &info)) return nullptr;
    return info.hwndFocus;
}

HWND Program::Foreground() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(threadId_, &info)) return nullptr;
    return info.hwndActive;
}

std::vector<HWND> Program::Dialogs() const { return TopLevelWindows(processId_, L"#32770", true); }

std::optional<std::wstring> Program::RuntimeErrorReport() const {
    for (HWND dialog : Dialogs()) {
        const MessageBoxParts parts = ReadMessageBox(dialog);
        if (parts.title == L"Tavirel") return parts.text;
    }
    return std::nullopt;
}

bool Program::Activate() {
    if (window_ == nullptr || !Alive()) return false;
    auto active = [&] { return GetForegroundWindow() == window_ && Foreground() == window_; };
    if (active()) return true;
    SetForegroundWindow(window_);
    if (WaitUntil(active, 1000)) return true;
    // As a person would: a click on the title bar, which does nothing else.
    RECT frame{};
    GetWindowRect(window_, &frame);
    const int border = GetSystemMetrics(SM_CYFIXEDFRAME);
    Click({(frame.left + frame.right) / 2, frame.top + border + GetSystemMetrics(SM_CYCAPTION) / 2});
    return WaitUntil(active, 2000);
}

MessageBoxParts ReadMessageBox(HWND dialog) {
    MessageBoxParts parts;
    parts.title = TextOf(dialog);
    std::vector<HWND> children;
    EnumChildWindows(dialog, CollectChildren, reinterpret_cast<LPARAM>(&children));
    for (HWND child : children) {
        if (!IsWindowVisible(child)) continue;  // a message box hides the buttons it does not use
        const std::wstring cls = ClassOf(child);
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        if (_wcsicmp(cls.c_str(), L"Static") == 0) {
            if ((style & SS_TYPEMASK) == SS_ICON) {
                parts.icon = child;
                DWORD_PTR icon = 0;
                SendMessageTimeoutW(child, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeout, &icon);
                parts.iconHandle = reinterpret_cast<HICON>(icon);
            } else {
                const std::wstring text = TextOf(child);
                if (!text.empty()) parts.text = text;
            }
        } else if (_wcsicmp(cls.c_str(), L"Button") == 0) {
            const LONG type = style & BS_TYPEMASK;
            if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) {
                parts.buttons.push_back(child);
                parts.buttonTexts.push_back(TextOf(child));
            }
        }
    }
    return parts;
}

}  // namespace e2e
