// The calculator window as data. Positions and sizes are twips relative to
// the container (15 twips a pixel at 96 DPI); rows are listed from the top of
// each container's z-order down, so cmdGetZT and cmdGetDT lie over Frame2.
// Within a frame each label comes just before its text box: screen readers
// name a box after the label that precedes it, and the two never overlap.
#include "calculator/form1.h"

namespace calculator {

namespace {

using forms::Colour;
using forms::ControlDef;
using forms::ControlKind;
using forms::FontDef;

// The window's font: a full-width character 12 pixels wide, a line 13 high.
constexpr FontDef kWindowFont{L"宋体", 90, 400, false, false, false, 134};
constexpr FontDef kTextBoxFont{L"宋体", 105, 400, false, false, false, 0};

constexpr ControlKind Frame = ControlKind::Frame;
constexpr ControlKind Label = ControlKind::Label;
constexpr ControlKind TextBox = ControlKind::TextBox;
constexpr ControlKind Option = ControlKind::OptionButton;
constexpr ControlKind Button = ControlKind::CommandButton;
constexpr std::optional<Colour> kSystem{};
using enum Form1Control;

// clang-format off
constexpr ControlDef kControls[] = {
//   kind    name         container  caption               left  top   width height tab back colour            font           flags
    {Button, cmdGetZT,    Form1,     L"取涨停价",          1380, 3360, 1245, 375,  12, kSystem,              nullptr,       forms::kOwnerDraw},
    {Button, cmdGetDT,    Form1,     L"取跌停价",          4890, 3360, 1245, 375,  11, kSystem,              nullptr,       forms::kOwnerDraw},
    {Frame,  Frame2,      Form1,     L"双击鼠标复制结果",  60,   2460, 7155, 1635, 6,  kSystem,              nullptr,       forms::kNoFlags},
    {Label,  Label2_0,    Frame2,    L"涨停价：",          420,  420,  720,  195,  10, kSystem,              nullptr,       forms::kAutoSize},
    {TextBox,txtZTPrice,  Frame2,    L"",                  1200, 360,  1605, 345,  8,  Colour{255, 128, 128}, &kTextBoxFont, forms::kNoFlags},
    {Label,  Label2_1,    Frame2,    L"跌停价：",          3870, 420,  720,  195,  9,  kSystem,              nullptr,       forms::kAutoSize},
    {TextBox,txtDTPrice,  Frame2,    L"",                  4650, 360,  1605, 345,  7,  Colour{128, 255, 128}, &kTextBoxFont, forms::kNoFlags},
    {Button, Command1,    Form1,     L"计算",              2775, 1860, 1755, 375,  5,  kSystem,              nullptr,       forms::kOwnerDraw},
    {Frame,  Frame1,      Form1,     L"",                  60,   0,    7155, 1635, 0,  kSystem,              nullptr,       forms::kNoFlags},
    {Option, Option2,     Frame1,    L"5% 幅度",           3300, 960,  1245, 465,  4,  kSystem,              nullptr,       forms::kNoFlags},
    {Option, Option1,     Frame1,    L"10% 幅度",          1380, 960,  1245, 465,  3,  kSystem,              nullptr,       forms::kSelected},
    {Label,  Label1,      Frame1,    L"当前收盘价：",      360,  450,  1080, 195,  1,  kSystem,              nullptr,       forms::kAutoSize},
    {TextBox,txtCurPrice, Frame1,    L"",                  1440, 390,  1665, 345,  2,  Colour{192, 192, 255}, &kTextBoxFont, forms::kNoInputMethod},
};
// clang-format on

}  // namespace

constexpr int kApplicationIcon = 1;  // icon group 1 of the program file

const forms::FormDef kForm1{L"Tavirel v1.0", 7260, 4155, kApplicationIcon, &kWindowFont, kControls};

forms::Form& Form1() {
    return *forms::ProgramForm();
}

}  // namespace calculator
