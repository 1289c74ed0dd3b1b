// A window's text, as the runtime and the skin read it.
#pragma once

#include <windows.h>

#include <span>
#include <string>
#include <string_view>

namespace forms {

// As much of the window's text as buffer holds with a final NUL, read into
// buffer; what was read is returned, empty when the text cannot be read.
// Reads without asking the text's length first: a button's caption is read
// so on every paint, into a buffer of its own.
std::wstring_view WindowText(HWND window, std::span<wchar_t> buffer);

// The window's whole text.
std::wstring WindowText(HWND window);

}  // namespace forms
