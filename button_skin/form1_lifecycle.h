// The calculator window's Load and Unload handling: the skin goes on before
// the window is first shown and comes off when it closes.
#pragma once

namespace mVistaButton {

// Hooks the window. Nothing here can raise a run-time error: a window that
// cannot be subclassed leaves PrevWndProc null (its buttons then go
// unpainted), and Unload has nothing to undo.
void Form1_Load();
void Form1_Unload(int& cancel);

}  // namespace mVistaButton
