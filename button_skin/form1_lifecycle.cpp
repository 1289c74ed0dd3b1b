#include "button_skin/form1_lifecycle.h"

#include "button_skin/mVistaButton.h"
#include "forms_runtime/application.h"
#include "forms_runtime/form.h"
#include "forms_runtime/message_box.h"
#include "forms_runtime/runtime_error.h"

namespace mVistaButton {

void Form1_Load() {
    HWND hWnd = forms::FindForm(L"Form1")->hWnd();
    try {
        HookWindow(hWnd);
    } catch (const forms::RuntimeError& error) {
        // Owned by the calculator window, hidden as it still is: the box is
        // the program's own, not that of whichever window is in front.
        forms::MsgBox(error.Description().c_str(), MB_OK | MB_ICONINFORMATION, L"提示", hWnd);
        forms::End(1);
    }
}

void Form1_Unload(int&) { UnhookWindow(forms::FindForm(L"Form1")->hWnd()); }

}  // namespace mVistaButton
