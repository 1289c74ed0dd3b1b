// Keyboard movement between a form's controls, as in a dialog: Tab and
// Shift+Tab follow the tab order of the definition (not the z-order, which
// differs where buttons lie over a frame), and the arrow keys move within an
// option group. Enter presses a focused command button, as Space does, and
// is otherwise left to the focused control, as Escape is: the form has no
// default and no cancel button.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "forms_runtime/form.h"
#include "forms_runtime/form_internal.h"

namespace forms {

namespace {

// An option group takes the focus through its selected button only (or its
// first one while none is selected); the focused button stays a stop too.
bool IsTabStop(const ControlRecord& control, HWND focus) {
    if (!IsWindowVisible(control.hwnd) || !IsWindowEnabled(control.hwnd))
        return false;
    switch (control.def->kind) {
    case ControlKind::TextBox:
    case ControlKind::CommandButton:
        return true;
    case ControlKind::OptionButton: {
        if (control.hwnd == focus || Checked(control))
            return true;
        const std::vector<const ControlRecord*> group = OptionGroup(control);
        if (std::any_of(group.begin(), group.end(),
                        [focus](const ControlRecord* other) { return Checked(*other) || other->hwnd == focus; })) {
            return false;
        }
        // No option of the group is selected: the first in tab order stands for it.
        return std::none_of(group.begin(), group.end(), [&control](const ControlRecord* other) {
            return other->def->tabIndex < control.def->tabIndex;
        });
    }
    default:
        return false;
    }
}

void MoveByTab(Form& form, HWND focus, bool backwards) {
    const ControlRecord* current = FormAccess::Find(form, focus);
    const int from = current ? current->def->tabIndex : (backwards ? 1 << 30 : -1);
    const ControlRecord* best = nullptr;  // the next stop after `from`
    const ControlRecord* wrap = nullptr;  // the first stop, for going round
    for (const auto& control : FormAccess::Controls(form)) {
        if (!IsTabStop(*control, focus) || control.get() == current)
            continue;
        const int tab = control->def->tabIndex;
        const bool ahead = backwards ? tab < from : tab > from;
        if (ahead && (best == nullptr || (backwards ? tab > best->def->tabIndex : tab < best->def->tabIndex))) {
            best = control.get();
        }
        if (wrap == nullptr || (backwards ? tab > wrap->def->tabIndex : tab < wrap->def->tabIndex)) {
            wrap = control.get();
        }
    }
    const ControlRecord* next = best ? best : wrap;
    if (next == nullptr)
        return;
    SetFocus(next->hwnd);
    if (next->def->kind == ControlKind::TextBox)
        SendMessageW(next->hwnd, EM_SETSEL, 0, -1);
}

void MoveInOptionGroup(const ControlRecord& option, bool backwards) {
    std::vector<const ControlRecord*> group = OptionGroup(option);
    std::erase_if(group, [](const ControlRecord* control) { return !IsWindowEnabled(control->hwnd); });
    std::sort(group.begin(), group.end(),
              [](const ControlRecord* a, const ControlRecord* b) { return a->def->tabIndex < b->def->tabIndex; });
    const auto at = std::find(group.begin(), group.end(), &option);
    if (at == group.end() || group.size() < 2)
        return;
    const auto position = static_cast<size_t>(at - group.begin());
    const size_t next = backwards ? (position + group.size() - 1) % group.size() : (position + 1) % group.size();
    SetFocus(group[next]->hwnd);
    // Moving with the arrows selects, as a click would.
    SendMessageW(GetAncestor(option.hwnd, GA_ROOT), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                 reinterpret_cast<LPARAM>(group[next]->hwnd));
}

}  // namespace

bool TranslateFormKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || msg.hwnd == nullptr)
        return false;
    Form* form = FormOwning(msg.hwnd);
    if (form == nullptr)
        return false;
    const bool alt = GetKeyState(VK_MENU) < 0;
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    if (alt || ctrl)
        return false;

    if (msg.wParam == VK_TAB) {
        MoveByTab(*form, GetFocus(), GetKeyState(VK_SHIFT) < 0);
        return true;
    }
    if (msg.wParam == VK_RETURN) {
        const ControlRecord* button = FormAccess::Find(*form, msg.hwnd);
        if (button == nullptr || button->def->kind != ControlKind::CommandButton || !IsWindowEnabled(button->hwnd))
            return false;
        SendMessageW(GetParent(button->hwnd), WM_COMMAND, MAKEWPARAM(button->def->id.Value(), BN_CLICKED),
                     reinterpret_cast<LPARAM>(button->hwnd));
        return true;
    }
    if (msg.wParam == VK_LEFT || msg.wParam == VK_RIGHT || msg.wParam == VK_UP || msg.wParam == VK_DOWN) {
        ControlRecord* control = FormAccess::Find(*form, msg.hwnd);
        if (control == nullptr || control->def->kind != ControlKind::OptionButton)
            return false;
        MoveInOptionGroup(*control, msg.wParam == VK_LEFT || msg.wParam == VK_UP);
        return true;
    }
    return false;
}

}  // namespace forms
