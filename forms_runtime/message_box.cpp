#include "forms_runtime/message_box.h"

namespace forms {

int MsgBox(const wchar_t* text, UINT style, const wchar_t* title) {
    // Owned by the active window of this thread, so that the window takes no
    // other input while the box is open.
    return MessageBoxW(GetActiveWindow(), text, title, style);
}

}  // namespace forms
