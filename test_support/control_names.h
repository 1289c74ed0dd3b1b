// A control's name in a failure message, by the names of the window's definition.
#pragma once

#include <iterator>
#include <ostream>

#include "calculator/form1_controls.h"

// Found by argument-dependent lookup, so beside the enum.
namespace calculator {
inline std::ostream& operator<<(std::ostream& out, Form1Control id) {
    constexpr const char* kNames[] = {"cmdGetZT",  "cmdGetDT",   "Frame2",     "Label2(0)", "txtZTPrice",
                                      "Label2(1)", "txtDTPrice", "Command1",   "Frame1",    "Option2",
                                      "Option1",   "Label1",     "txtCurPrice"};
    const int i = static_cast<int>(id) - static_cast<int>(Form1Control::cmdGetZT);
    return out << (i >= 0 && i < static_cast<int>(std::size(kNames)) ? kNames[i] : "Form1");
}
}  // namespace calculator
