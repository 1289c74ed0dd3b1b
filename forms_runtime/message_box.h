// The runtime's modal message box.
#pragma once

#include <windows.h>

namespace forms {

// Shows a modal message box and returns the button the user chose once the
// box is dismissed. The box belongs to owner, or to the program's window when
// owner is null, never to whichever window happens to be active: its owner
// takes no input while the box is open.
int MsgBox(const wchar_t* text, UINT style, const wchar_t* title, HWND owner = nullptr);

}  // namespace forms
