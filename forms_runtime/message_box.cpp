#include "forms_runtime/message_box.h"

#include "forms_runtime/form.h"

namespace forms {

int MsgBox(const wchar_t* text, UINT style, const wchar_t* title, HWND owner) {
    // MessageBoxW disables the owner while the box is open. The active
    // window would not do: when input reaches the program while another
    // program is in front, there is none, and the box would be modal to
    // nothing.
    return MessageBoxW(owner ? owner : ProgramWindow(), text, title, style);
}

}  // namespace forms
