#include "forms_runtime/window_text.h"

namespace forms {

std::wstring_view WindowText(HWND window, std::span<wchar_t> buffer) {
    // The characters copied, the NUL not counted; 0 when none could be.
    const int copied = GetWindowTextW(window, buffer.data(), static_cast<int>(buffer.size()));
    return {buffer.data(), static_cast<size_t>(copied)};
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(WindowText(window, text).size());
    return text;
}

}  // namespace forms
