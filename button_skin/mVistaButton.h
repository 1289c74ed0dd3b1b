// The button skin: paints the owner-drawn command buttons of the window whose
// procedure it replaces, in one of four faces.
#pragma once

#include <windows.h>

namespace mVistaButton {

// The window procedure that HookWindow replaced; null before any hook.
extern WNDPROC PrevWndProc;

void HookWindow(HWND hWnd);
void UnhookWindow(HWND hWnd);
LRESULT CALLBACK WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

// Paints one button: reads its caption and calls the face its state asks for.
void DrawButton(HWND button, HDC dc, RECT& item, UINT itemState);

enum class Face { Normal, Pressed, Focused, Disabled };
// Disabled wins over pressed, pressed over focused; other state bits ignored.
Face ChooseFace(UINT itemState);

// The faces. Each paints a (Right - Left) x (Bottom - Top) face from (0, 0)
// of dc (under a high-contrast theme a flat one in the system's colours),
// overwrites item while drawing, and raises the runtime's Overflow
// error when its coordinate arithmetic leaves the signed 32-bit range.
void DrawNormalFace(HDC dc, RECT& item, const wchar_t* caption);
void DrawPressedFace(HDC dc, RECT& item, const wchar_t* caption);
void DrawFocusedFace(HDC dc, RECT& item, const wchar_t* caption);
void DrawDisabledFace(HDC dc, RECT& item, const wchar_t* caption);

}  // namespace mVistaButton
