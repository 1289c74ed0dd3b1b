#include "button_skin/form1_lifecycle.h"

#include "button_skin/mVistaButton.h"
#include "forms_runtime/form.h"

namespace mVistaButton {

void Form1_Load() {
    HookWindow(forms::ProgramWindow());
}

void Form1_Unload(int&) {
    UnhookWindow(forms::ProgramWindow());
}

}  // namespace mVistaButton
