// The calculator window's Load and Unload handling: the skin goes on before
// the window is first shown and comes off when it closes.
#pragma once

namespace mVistaButton {

// Hooks the window. A run-time error while loading is shown with its
// description under the title "提示", and the program then ends at once,
// without Unload.
void Form1_Load();
void Form1_Unload(int& cancel);

namespace testing {
// Test seam: a function that Load runs inside its error trap right where it
// hooks the window, so that a test can make the hook fail there. The shipped
// program never sets it.
void SetHookFault(void (*fault)());
}  // namespace testing

}  // namespace mVistaButton
