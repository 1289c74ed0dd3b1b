// Which handler serves which event of the calculator window.
#include "button_skin/form1_lifecycle.h"
#include "calculator/form1.h"

namespace calculator {

namespace {

using forms::Event;
using forms::On;

using enum Form1Control;

const forms::EventBinding kEvents[] = {
    On(Form1, Event::Load, mVistaButton::Form1_Load),     forms::OnUnload(Form1, mVistaButton::Form1_Unload),
    forms::OnKeyPress(txtCurPrice, txtCurPrice_KeyPress), On(Command1, Event::Click, Command1_Click),
    On(cmdGetZT, Event::Click, cmdGetZT_Click),           On(cmdGetDT, Event::Click, cmdGetDT_Click),
    On(txtZTPrice, Event::Change, txtZTPrice_Change),     On(txtDTPrice, Event::Change, txtDTPrice_Change),
    On(txtZTPrice, Event::DblClick, txtZTPrice_DblClick), On(txtDTPrice, Event::DblClick, txtDTPrice_DblClick),
};

}  // namespace

std::span<const forms::EventBinding> Form1Events() {
    return kEvents;
}

}  // namespace calculator
