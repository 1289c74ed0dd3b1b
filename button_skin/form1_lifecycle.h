// The calculator window's Load and Unload handling: the skin goes on before
// the window is first shown and comes off when it closes.
#pragma once

namespace mVistaButton {

// Hooks the window. A run-time error while loading is shown with its
// description under the title "提示", and the program then ends at once,
// without Unload.
void Form1_Load();
void Form1_Unload(int& cancel);

}  // namespace mVistaButton
