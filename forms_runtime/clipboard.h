// The system clipboard.
#pragma once

#include <windows.h>

#include <string_view>

namespace forms::clipboard {

// Empties the clipboard and puts text on it as plain text (CF_TEXT, in the
// system's ANSI code page), alone; owner, a window of the program, becomes
// the clipboard's owner. Another program may hold the clipboard open: the
// open is retried for about half a second, and if it stays busy nothing is
// changed and false is returned.
bool ReplaceWithText(HWND owner, std::wstring_view text);

}  // namespace forms::clipboard
