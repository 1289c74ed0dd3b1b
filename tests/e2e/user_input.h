// Real input as a person makes it: keystrokes and mouse buttons through
// SendInput, which the system delivers to the foreground window and the
// window under the mouse.
#pragma once

#include <windows.h>

#include <string_view>
#include <vector>

namespace e2e {

// Characters as typed (KEYEVENTF_UNICODE), one key press each.
void TypeText(std::wstring_view text);

// A key press with modifiers held around it, e.g. Press(VK_INSERT, {VK_SHIFT}).
void Press(WORD virtualKey, std::initializer_list<WORD> modifiers = {});

// The mouse, in screen coordinates. Click and DoubleClick land a few pixels
// aside when the point lies where the click before was, moments ago, so that
// the two do not make a double-click.
void MoveMouse(POINT screen);
void MouseDown();
void MouseUp();
void Click(POINT screen);
void DoubleClick(POINT screen);

// Points of a window on the screen.
POINT CentreOf(HWND window);
POINT ClientPointOf(HWND window, int x, int y);  // a client-area point of `window`

}  // namespace e2e
