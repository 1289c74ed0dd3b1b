// The clipboard as the driver sees it, and a second process that keeps it
// open, as another program busy with the clipboard would.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace e2e {

// A format of the driver's own that no other program places.
UINT DriverMarkerFormat();

// Empties the clipboard and places `text` as CF_UNICODETEXT together with
// the driver's marker format.
bool PutOnClipboard(const std::wstring& text);

std::optional<std::string> ClipboardAnsiText();      // CF_TEXT
std::optional<std::wstring> ClipboardUnicodeText();  // CF_UNICODETEXT
std::vector<UINT> ClipboardFormats();
std::string FormatName(UINT format);

// Formats the system makes up from CF_TEXT when it is read.
bool IsSynthesizedFromText(UINT format);

// Entry point of the holder process (main.cpp dispatches to it).
inline constexpr wchar_t kHoldClipboardArgument[] = L"--hold-clipboard=";
int HoldClipboard(const std::wstring& name);

class ClipboardHolder {
public:
    ClipboardHolder() = default;
    ~ClipboardHolder();
    ClipboardHolder(const ClipboardHolder&) = delete;
    ClipboardHolder& operator=(const ClipboardHolder&) = delete;

    // Starts the holder and waits until it has the clipboard open.
    bool Start(std::wstring& error);
    // Lets it close the clipboard and waits for it to end.
    bool Release();

private:
    PROCESS_INFORMATION process_{};
    HANDLE ready_ = nullptr;
    HANDLE release_ = nullptr;
};

}  // namespace e2e
