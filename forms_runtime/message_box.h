// The runtime's modal message box.
#pragma once

#include <windows.h>

namespace forms {

// Shows a modal message box owned by the program's window, and returns the
// button the user chose once the box is dismissed.
int MsgBox(const wchar_t* text, UINT style, const wchar_t* title);

}  // namespace forms
