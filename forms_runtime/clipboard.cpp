#include "forms_runtime/clipboard.h"

#include <windows.h>

#include <cstring>
#include <string>

namespace forms::clipboard {

namespace {

// Another program may hold the clipboard for a moment: it is tried for half
// a second, which a user does not notice, before the copy is given up.
constexpr int kOpenAttempts = 20;
constexpr DWORD kOpenPause = 25;  // milliseconds between attempts

// Opened by a window: opened by none, EmptyClipboard leaves the clipboard
// without an owner, and Windows then refuses SetClipboardData.
bool OpenWithRetries(HWND owner) {
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
        if (OpenClipboard(owner))
            return true;
        Sleep(kOpenPause);
    }
    return false;
}

std::string ToAnsi(std::wstring_view text) {
    if (text.empty())
        return {};
    const int wideLength = static_cast<int>(text.size());
    const int bytes = WideCharToMultiByte(CP_ACP, 0, text.data(), wideLength, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), wideLength, ansi.data(), bytes, nullptr, nullptr);
    return ansi;
}

}  // namespace

bool ReplaceWithText(HWND owner, std::wstring_view text) {
    const std::string ansi = ToAnsi(text);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, ansi.size() + 1);
    if (memory == nullptr)
        return false;
    void* bytes = GlobalLock(memory);
    if (bytes == nullptr) {
        GlobalFree(memory);
        return false;
    }
    std::memcpy(bytes, ansi.c_str(), ansi.size() + 1);
    GlobalUnlock(memory);

    if (!OpenWithRetries(owner)) {
        GlobalFree(memory);
        return false;
    }
    EmptyClipboard();
    const bool placed = SetClipboardData(CF_TEXT, memory) != nullptr;
    CloseClipboard();
    if (!placed) {
        // cppcheck-suppress doubleFree ; cppcheck takes SetClipboardData to free it even when it fails
        GlobalFree(memory);  // the clipboard owns it only once placed
    }
    return placed;
}

}  // namespace forms::clipboard
