// The calculator's event handlers. They keep no state: the three text boxes
// and the option buttons are the whole store, read afresh every time.
#include <windows.h>

#include "calculator/entry_rules.h"
#include "calculator/form1.h"
#include "calculator/limit_calculation.h"
#include "forms_runtime/clipboard.h"
#include "forms_runtime/message_box.h"

namespace calculator {

namespace {

// Carries a result forward as the new closing price and recalculates. The
// text itself is copied, not its value: 012.10 arrives as 012.10.
void CarryForward(Form1Control source) {
    if (!IsPositiveNumber(Form1().Text(source)))
        return;
    Form1().SetText(Form1Control::txtCurPrice, Form1().Text(source));
    Command1_Click();
}

// A result box whose text stops being a number empties itself. Emptying an
// empty box writes nothing (the runtime skips unchanged writes), so the guard
// runs at most twice for one edit.
void GuardResultBox(Form1Control box) {
    if (GuardEmptiesBox(Form1().Text(box)))
        Form1().SetText(box, L"");
}

// A result box holding a positive number copies its text, unchanged, to the
// clipboard. A clipboard another program keeps busy is left as it was.
void CopyResult(Form1Control box) {
    if (!IsPositiveNumber(Form1().Text(box)))
        return;
    forms::clipboard::ReplaceWithText(Form1().hWnd(), Form1().Text(box));
}

}  // namespace

void Command1_Click() {
    const Band band = Form1().Value(Form1Control::Option1) ? Band::TenPercent : Band::FivePercent;
    const LimitResult result = CalculateLimits(Form1().Text(Form1Control::txtCurPrice), band);
    switch (result.outcome) {
    case Outcome::NotPositive:
        forms::MsgBox(L"价格必须大于 0", MB_OK | MB_ICONINFORMATION, L"提示", Form1().hWnd());
        return;
    case Outcome::NotNumeric:
    case Outcome::OutOfRange:
        return;  // refused silently; the results keep their text
    case Outcome::Computed:
        Form1().SetText(Form1Control::txtZTPrice, result.limitUp);
        Form1().SetText(Form1Control::txtDTPrice, result.limitDown);
        return;
    }
}

void cmdGetZT_Click() {
    CarryForward(Form1Control::txtZTPrice);
}
void cmdGetDT_Click() {
    CarryForward(Form1Control::txtDTPrice);
}

void txtCurPrice_KeyPress(std::int16_t& keyAscii) {
    keyAscii = FilterPriceKey(keyAscii);
}

void txtZTPrice_Change() {
    GuardResultBox(Form1Control::txtZTPrice);
}
void txtDTPrice_Change() {
    GuardResultBox(Form1Control::txtDTPrice);
}

void txtZTPrice_DblClick() {
    CopyResult(Form1Control::txtZTPrice);
}
void txtDTPrice_DblClick() {
    CopyResult(Form1Control::txtDTPrice);
}

}  // namespace calculator
