#include "tests/e2e/clipboard_access.h"

#include <cstring>

#include "tests/e2e/program.h"
#include "tests/e2e/wait.h"

namespace e2e {

namespace {

constexpr DWORD kHolderTimeout = 10000;
constexpr DWORD kLongestHold = 60000;  // a holder left alone lets go by itself

// The driver's clipboard owner: a message-only window of this process.
HWND OwnerWindow() {
    static const HWND owner =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr);
    return owner;
}

// The clipboard may be open for a moment in the system's own clipboard
// process; wait for it rather than fail.
class OpenedClipboard {
public:
    OpenedClipboard() {
        open_ = WaitUntil([] { return OpenClipboard(OwnerWindow()) != FALSE; });
    }
    ~OpenedClipboard() {
        if (open_) CloseClipboard();
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    explicit operator bool() const { return open_; }

private:
    bool open_ = false;
};

HGLOBAL GlobalCopy(const void* bytes, size_t size) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (memory == nullptr) return nullptr;
    std::memcpy(GlobalLock(memory), bytes, size);
    GlobalUnlock(memory);
    return memory;
}

std::wstring EventName(const std::wstring& name, const wchar_t* suffix) { return L"Local\\" + name + suffix; }

}  // namespace

UINT DriverMarkerFormat() {
    static const UINT format = RegisterClipboardFormatW(L"Tavirel.E2E.Marker");
    return format;
}

bool PutOnClipboard(const std::wstring& text) {
    OpenedClipboard clipboard;
    if (!clipboard) return false;
    if (!EmptyClipboard()) return false;
    HGLOBAL unicode = GlobalCopy(text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    const char marker[] = "marker";
    HGLOBAL mark = GlobalCopy(marker, sizeof marker);
    bool placed = unicode != nullptr && SetClipboardData(CF_UNICODETEXT, unicode) != nullptr;
    placed = mark != nullptr && SetClipboardData(DriverMarkerFormat(), mark) != nullptr && placed;
    return placed;
}

std::optional<std::string> ClipboardAnsiText() {
    OpenedClipboard clipboard;
    if (!clipboard) return std::nullopt;
    HANDLE data = GetClipboardData(CF_TEXT);
    if (data == nullptr) return std::nullopt;
    const char* bytes = static_cast<const char*>(GlobalLock(data));
    if (bytes == nullptr) return std::nullopt;
    std::string text(bytes, strnlen(bytes, GlobalSize(data)));
    GlobalUnlock(data);
    return text;
}

std::optional<std::wstring> ClipboardUnicodeText() {
    OpenedClipboard clipboard;
    if (!clipboard) return std::nullopt;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (data == nullptr) return std::nullopt;
    const wchar_t* chars = static_cast<const wchar_t*>(GlobalLock(data));
    if (chars == nullptr) return std::nullopt;
    std::wstring text(chars, wcsnlen(chars, GlobalSize(data) / sizeof(wchar_t)));
    GlobalUnlock(data);
    return text;
}

std::vector<UINT> ClipboardFormats() {
    std::vector<UINT> formats;
    OpenedClipboard clipboard;
    if (!clipboard) return formats;
    for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format)) {
        formats.push_back(format);
    }
    return formats;
}

std::string FormatName(UINT format) {
    switch (format) {
    case CF_TEXT: return "CF_TEXT";
    case CF_OEMTEXT: return "CF_OEMTEXT";
    case CF_UNICODETEXT: return "CF_UNICODETEXT";
    case CF_LOCALE: return "CF_LOCALE";
    default: break;
    }
    char name[128] = {};
    if (GetClipboardFormatNameA(format, name, sizeof name) > 0) return name;
    return "format " + std::to_string(format);
}

bool IsSynthesizedFromText(UINT format) {
    return format == CF_OEMTEXT || format == CF_UNICODETEXT || format == CF_LOCALE;
}

int HoldClipboard(const std::wstring& name) {
    HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, EventName(name, L"-ready").c_str());
    HANDLE release = OpenEventW(SYNCHRONIZE, FALSE, EventName(name, L"-release").c_str());
    int result = 0;
    if (ready == nullptr || release == nullptr) {
        result = 2;
    } else {
        // Opened for a window, as programs do: the system lets a second opener
        // without a window share a clipboard opened without one.
        HWND owner = OwnerWindow();
        if (WaitUntil([owner] { return OpenClipboard(owner) != FALSE; }, kHolderTimeout)) {
            SetEvent(ready);
            WaitForSingleObject(release, kLongestHold);
            CloseClipboard();
        } else {
            result = 3;
        }
    }
    if (ready != nullptr) CloseHandle(ready);
    if (release != nullptr) CloseHandle(release);
    return result;
}

ClipboardHolder::~ClipboardHolder() { Release(); }

bool ClipboardHolder::Start(std::wstring& error) {
    const std::wstring name = L"TavirelE2EClipboardHolder" + std::to_wstring(GetCurrentProcessId());
    ready_ = CreateEventW(nullptr, TRUE, FALSE, EventName(name, L"-ready").c_str());
    release_ = CreateEventW(nullptr, TRUE, FALSE, EventName(name, L"-release").c_str());
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(self) + L"\" " + kHoldClipboardArgument + name;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(self, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process_)) {
        error = L"could not start the clipboard holder, error " + std::to_wstring(GetLastError());
        process_ = {};
        return false;
    }
    EndWithDriver(process_.hProcess);
    HANDLE either[] = {ready_, process_.hProcess};
    if (WaitForMultipleObjects(2, either, FALSE, kHolderTimeout) != WAIT_OBJECT_0) {
        error = L"the clipboard holder did not get the clipboard open";
        Release();
        return false;
    }
    return true;
}

bool ClipboardHolder::Release() {
    bool ended = true;
    if (release_ != nullptr) SetEvent(release_);
    if (process_.hProcess != nullptr) {
        ended = WaitForSingleObject(process_.hProcess, kHolderTimeout) == WAIT_OBJECT_0;
        if (!ended) TerminateProcess(process_.hProcess, 255);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
        process_ = {};
    }
    for (HANDLE* event : {&ready_, &release_}) {
        if (*event != nullptr) CloseHandle(*event);
        *event = nullptr;
    }
    return ended;
}

}  // namespace e2e
