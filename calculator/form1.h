// The calculator window: its definition, its handlers and its event table.
#pragma once

#include <cstdint>
#include <span>

#include "calculator/form1_controls.h"
#include "forms_runtime/form.h"
#include "forms_runtime/form_definition.h"
#include "forms_runtime/form_events.h"

namespace calculator {

extern const forms::FormDef kForm1;
std::span<const forms::EventBinding> Form1Events();

// The loaded calculator window: the program's form.
forms::Form& Form1();

void Command1_Click();
void cmdGetZT_Click();
void cmdGetDT_Click();
void txtCurPrice_KeyPress(std::int16_t& keyAscii);
void txtZTPrice_Change();
void txtDTPrice_Change();
void txtZTPrice_DblClick();
void txtDTPrice_DblClick();

}  // namespace calculator
