// Which handler serves which event of the calculator window.
#include "button_skin/form1_lifecycle.h"
#include "calculator/form1.h"

namespace calculator {

namespace {

using forms::Event;
using forms::On;

const forms::EventBinding kEvents[] = {
    On(L"Form1", Event::Load, mVistaButton::Form1_Load),
    forms::OnUnload(L"Form1", mVistaButton::Form1_Unload),
    forms::OnKeyPress(L"txtCurPrice", txtCurPrice_KeyPress),
    On(L"Command1", Event::Click, Command1_Click),
    On(L"cmdGetZT", Event::Click, cmdGetZT_Click),
    On(L"cmdGetDT", Event::Click, cmdGetDT_Click),
    On(L"txtZTPrice", Event::Change, txtZTPrice_Change),
    On(L"txtDTPrice", Event::Change, txtDTPrice_Change),
    On(L"txtZTPrice", Event::DblClick, txtZTPrice_DblClick),
    On(L"txtDTPrice", Event::DblClick, txtDTPrice_DblClick),
};

}  // namespace

std::span<const forms::EventBinding> Form1Events() { return kEvents; }

}  // namespace calculator
