// The calculator window's controls by the names of its definition. Each
// value is the control's child-window ID (from 100, clear of IDOK and
// IDCANCEL); Form1 is the window itself. Label2 is a control array of two
// labels, index 0 and 1.
#pragma once

namespace calculator {

enum class Form1Control : int {
    Form1 = 0,
    cmdGetZT = 100,
    cmdGetDT,
    Frame2,
    Label2_0,
    txtZTPrice,
    Label2_1,
    txtDTPrice,
    Command1,
    Frame1,
    Option2,
    Option1,
    Label1,
    txtCurPrice,
};

}  // namespace calculator
