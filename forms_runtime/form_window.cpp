// Builds a form from its definition and turns the platform's notifications
// into the form's named events, in two procedures: the form's own (FormProc),
// which its controls notify, and the one put under each text box
// (TextBoxProc), for the characters typed into it and its double-clicks.
#include <windows.h>
// After windows.h, which it needs.
#include <imm.h>

#include <algorithm>
#include <string>

#include "forms_runtime/application.h"
#include "forms_runtime/form.h"
#include "forms_runtime/form_internal.h"
#include "forms_runtime/high_contrast.h"
#include "forms_runtime/window_text.h"

namespace forms {

namespace {

const wchar_t kFormClass[] = L"TavirelForm";

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0  // headers that predate Windows 8.1
#endif
#ifndef WM_GETDPISCALEDSIZE
#define WM_GETDPISCALEDSIZE 0x02E4  // headers that predate Windows 10 1703
#endif
std::vector<Form*>& LoadedForms() {
    static std::vector<Form*> forms;
    return forms;
}

LRESULT CALLBACK FormProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK TextBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

void RegisterClasses(HINSTANCE instance) {
    static bool registered = false;
    if (registered)
        return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = FormProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kFormClass;
    RegisterClassExW(&wc);
    RegisterFrameClass(instance);
    registered = true;
}

struct Placement {
    const wchar_t* windowClass;
    DWORD style;
    DWORD exStyle;
};

Placement PlacementOf(const ControlDef& def) {
    constexpr DWORD kChild = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    switch (def.kind) {
    case ControlKind::Frame:
        return {kFrameClass, kChild | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT};
    case ControlKind::Label:
        return {L"STATIC", kChild | SS_LEFT | SS_NOPREFIX, 0};
    case ControlKind::TextBox:
        return {L"EDIT", kChild | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::OptionButton:
        return {L"BUTTON", kChild | WS_TABSTOP | BS_RADIOBUTTON, 0};
    case ControlKind::CommandButton:
        return {L"BUTTON", kChild | WS_TABSTOP | ((def.flags & kOwnerDraw) ? BS_OWNERDRAW : BS_PUSHBUTTON), 0};
    }
    return {L"STATIC", kChild, 0};
}

// The first control in tab order that can take the focus, or null.
HWND FirstTabStop(const Form& form) {
    const ControlRecord* first = nullptr;
    for (const auto& control : FormAccess::Controls(form)) {
        const ControlKind kind = control->def->kind;
        const bool focusable = kind == ControlKind::TextBox || kind == ControlKind::CommandButton ||
                               (kind == ControlKind::OptionButton && Checked(*control));
        if (focusable && IsWindowEnabled(control->hwnd) &&
            (first == nullptr || control->def->tabIndex < first->def->tabIndex)) {
            first = control.get();
        }
    }
    return first ? first->hwnd : nullptr;
}

}  // namespace

Form::Form(const FormDef& def, std::span<const EventBinding> events) : def_(def), events_(events) {}

// Deleted once its window is gone (WM_NCDESTROY); its fonts, its icons and
// the controls' brushes are freed with its members.
Form::~Form() {
    auto& loaded = LoadedForms();
    loaded.erase(std::remove(loaded.begin(), loaded.end(), this), loaded.end());
}

Form& Form::Load(const FormDef& def, std::span<const EventBinding> events, HINSTANCE instance, int dpi) {
    RegisterClasses(instance);
    Form* form = new Form(def, events);  // owned by its window: freed on WM_NCDESTROY
    LoadedForms().push_back(form);

    // Made without a size: the layout gives the window and its controls
    // theirs once the resolution of the monitor it opens on is known.
    constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;
    // The window procedure keeps the handle (FormAccess::SetHandle) as the window is made.
    // cppcheck-suppress ignoredReturnValue
    CreateWindowExW(kExStyle, kFormClass, def.caption, kStyle, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr, nullptr,
                    instance, form);
    // In table order: each new child goes below its siblings, so the first row
    // of a container ends on top of its z-order.
    for (const ControlDef& control : def.controls) {
        auto record = std::make_unique<ControlRecord>();
        record->def = &control;
        record->form = form;
        HWND parent = form->hwnd_;
        if (!control.container.IsWindow()) {
            if (ControlRecord* container = FormAccess::Find(*form, control.container))
                parent = container->hwnd;
        }
        const Placement placement = PlacementOf(control);
        const bool isTextBox = control.kind == ControlKind::TextBox;
        record->hwnd = CreateWindowExW(
            placement.exStyle, placement.windowClass, isTextBox ? L"" : control.caption, placement.style, 0, 0, 0, 0,
            parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id.Value())), instance, nullptr);
        if (control.backColour) {
            const Colour c = *control.backColour;
            record->backColour = RGB(c.r, c.g, c.b);
            record->backBrush.reset(CreateSolidBrush(record->backColour));
        }
        if (isTextBox) {
            SendMessageW(record->hwnd, EM_SETLIMITTEXT, 0, 0);  // no limit on the length
            SetWindowLongPtrW(record->hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(record.get()));
            record->editProc = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrW(record->hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TextBoxProc)));
            if (control.flags & kNoInputMethod)
                ImmAssociateContextEx(record->hwnd, nullptr, 0);
            if (control.caption && *control.caption) {
                ++record->programWrites;
                SetWindowTextW(record->hwnd, control.caption);
                --record->programWrites;
            }
        }
        if (control.kind == ControlKind::OptionButton && (control.flags & kSelected)) {
            SendMessageW(record->hwnd, BM_SETCHECK, BST_CHECKED, 0);
        }
        form->controls_.push_back(std::move(record));
    }
    form->LayOut(dpi > 0 ? dpi : CurrentDpi(form->hwnd_));

    Untrapped([&] { FormAccess::Raise(*form, ControlId::Window(), Event::Load); });
    return *form;
}

void Form::Show() {
    HMONITOR monitor = MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(monitor, &info);
    RECT window;
    GetWindowRect(hwnd_, &window);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    const RECT& screen = info.rcMonitor;
    SetWindowPos(hwnd_, nullptr, screen.left + (screen.right - screen.left - width) / 2,
                 screen.top + (screen.bottom - screen.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);

    if (HWND first = FirstTabStop(*this))
        SetFocus(first);
    UpdateWindow(hwnd_);
}

void Form::Close() {
    SendMessageW(hwnd_, WM_CLOSE, 0, 0);
}

HWND Form::Control(ControlId id) const {
    const ControlRecord* record = FormAccess::Find(*this, id);
    return record ? record->hwnd : nullptr;
}

std::wstring Form::Text(ControlId id) const {
    HWND control = Control(id);
    return control ? WindowText(control) : std::wstring();
}

void Form::SetText(ControlId id, std::wstring_view text) {
    ControlRecord* record = FormAccess::Find(*this, id);
    if (record == nullptr)
        return;
    if (WindowText(record->hwnd) == text)
        return;  // unchanged: no write, no Change
    const std::wstring copy(text);
    ++record->programWrites;
    SetWindowTextW(record->hwnd, copy.c_str());
    --record->programWrites;
    if (record->def->kind == ControlKind::TextBox) {
        FormAccess::Raise(*this, id, Event::Change);
    }
}

bool Form::Value(ControlId id) const {
    const ControlRecord* record = FormAccess::Find(*this, id);
    return record && Checked(*record);
}

Form* ProgramForm() {
    const auto& loaded = LoadedForms();
    return loaded.empty() ? nullptr : loaded.front();
}

HWND ProgramWindow() {
    const Form* form = ProgramForm();
    return form ? form->hWnd() : nullptr;
}

Form* FormOwning(HWND hwnd) {
    HWND top = GetAncestor(hwnd, GA_ROOT);
    if (top == nullptr)
        return nullptr;
    wchar_t className[32] = {};
    GetClassNameW(top, className, 32);
    if (std::wstring_view(className) != kFormClass)
        return nullptr;
    return reinterpret_cast<Form*>(GetWindowLongPtrW(top, GWLP_USERDATA));
}

ControlRecord* FormAccess::Find(const Form& form, HWND hwnd) {
    for (const auto& control : form.controls_) {
        if (control->hwnd == hwnd)
            return control.get();
    }
    return nullptr;
}

ControlRecord* FormAccess::Find(const Form& form, ControlId id) {
    for (const auto& control : form.controls_) {
        if (control->def->id == id)
            return control.get();
    }
    return nullptr;
}

bool FormAccess::Handles(const Form& form, const ControlRecord& control, Event event) {
    for (const EventBinding& binding : form.events_) {
        if (binding.event == event && binding.control == control.def->id)
            return true;
    }
    return false;
}

void FormAccess::Raise(Form& form, ControlId id, Event event) {
    for (const EventBinding& binding : form.events_) {
        if (binding.event == event && binding.control == id && binding.handler)
            binding.handler();
    }
}

bool FormAccess::RaiseUnload(Form& form) {
    int cancel = 0;
    for (const EventBinding& binding : form.events_) {
        if (binding.event == Event::Unload && binding.unload && binding.control.IsWindow())
            binding.unload(cancel);
    }
    return cancel == 0;
}

void FormAccess::RaiseKeyPress(Form& form, const ControlRecord& control, std::int16_t& keyAscii) {
    for (const EventBinding& binding : form.events_) {
        if (binding.event == Event::KeyPress && binding.keyPress && binding.control == control.def->id) {
            binding.keyPress(keyAscii);
        }
    }
}

bool Checked(const ControlRecord& option) {
    return SendMessageW(option.hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::vector<const ControlRecord*> OptionGroup(const ControlRecord& option) {
    std::vector<const ControlRecord*> group;
    for (const auto& other : FormAccess::Controls(*option.form)) {
        if (other->def->kind == ControlKind::OptionButton && GetParent(other->hwnd) == GetParent(option.hwnd)) {
            group.push_back(other.get());
        }
    }
    return group;
}

namespace {

Form* FormOf(HWND hwnd) {
    return reinterpret_cast<Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

// Selecting one option clears the others of its group.
void SelectOption(const ControlRecord& option) {
    for (const ControlRecord* other : OptionGroup(option)) {
        SendMessageW(other->hwnd, BM_SETCHECK, other == &option ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

// As Windows' dialogs keep the focus: the control that had it is noted when
// the window is left or minimized, and gets it back when the window itself
// is given the focus or activated; while minimized no control has it.
void SaveFocus(Form& form, HWND hwnd) {
    HWND focus = GetFocus();
    if (focus && IsChild(hwnd, focus))
        FormAccess::LastFocus(form) = focus;
}

void RestoreFocus(Form& form, HWND hwnd) {
    if (IsIconic(hwnd))
        return;
    HWND last = FormAccess::LastFocus(form);
    if (!IsWindow(last) || !IsChild(hwnd, last) || !IsWindowEnabled(last) || !IsWindowVisible(last))
        last = FirstTabStop(form);
    if (last)
        SetFocus(last);
}

void RaiseUnloadAndClose(Form& form) {
    if (FormAccess::RaiseUnload(form))
        DestroyWindow(form.hWnd());
}

LRESULT Dispatch(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Form* form = FormOf(hwnd);
    if (form == nullptr)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    switch (msg) {
    case WM_COMMAND: {
        ControlRecord* control = FormAccess::Find(*form, reinterpret_cast<HWND>(lParam));
        if (control == nullptr)
            return 0;  // IDOK, IDCANCEL and menus: nothing
        const ControlDef& def = *control->def;
        const UINT code = HIWORD(wParam);
        if (def.kind == ControlKind::TextBox && code == EN_CHANGE && control->programWrites == 0) {
            FormAccess::Raise(*form, def.id, Event::Change);
        } else if (def.kind == ControlKind::CommandButton && (code == BN_CLICKED || code == BN_DOUBLECLICKED)) {
            // A quick second click on a button is a click as well.
            FormAccess::Raise(*form, def.id, Event::Click);
        } else if (def.kind == ControlKind::OptionButton && code == BN_CLICKED) {
            SelectOption(*control);
            FormAccess::Raise(*form, def.id, Event::Click);
        }
        return 0;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        ControlRecord* control = FormAccess::Find(*form, reinterpret_cast<HWND>(lParam));
        if (control && control->backBrush) {
            // Under a high-contrast theme a box takes the system's pair: the
            // theme's text colour on its own back colour may be unreadable.
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            if (HighContrast()) {
                SetBkColor(dc, GetSysColor(COLOR_WINDOW));
                return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
            }
            SetBkColor(dc, control->backColour);
            return reinterpret_cast<LRESULT>(control->backBrush.get());
        }
        if (msg == WM_CTLCOLOREDIT)
            return DefWindowProcW(hwnd, msg, wParam, lParam);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_ACTIVATE:
        // Activated while minimized, it gives no control the focus: Windows
        // gives the window itself the focus once it is restored.
        if (LOWORD(wParam) == WA_INACTIVE)
            SaveFocus(*form, hwnd);
        else
            RestoreFocus(*form, hwnd);
        return 0;
    case WM_SETFOCUS:
        // Given the focus itself, it passes it on: to the control that has
        // just lost it, if any.
        if (IsChild(hwnd, reinterpret_cast<HWND>(wParam)))
            FormAccess::LastFocus(*form) = reinterpret_cast<HWND>(wParam);
        RestoreFocus(*form, hwnd);
        return 0;
    case WM_SETTINGCHANGE:
        if (wParam != SPI_SETHIGHCONTRAST)
            break;
        [[fallthrough]];
    case WM_SYSCOLORCHANGE:
        // A change of theme: read again whether it is a high-contrast one,
        // and repaint everything, the buttons' faces and the boxes too.
        ReadHighContrast();
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        break;
    case WM_GETDPISCALEDSIZE:
        // Windows 10 1703 and later ask, before a change of resolution, which
        // outer size the window will take there; the rectangle that
        // WM_DPICHANGED then suggests is exactly the window's own.
        *reinterpret_cast<SIZE*>(lParam) = FormAccess::OuterSize(*form, static_cast<int>(wParam));
        return TRUE;
    case WM_DPICHANGED:
        // Sent to per-monitor aware programs from Windows 8.1 on when the
        // window reaches a monitor of another resolution or the user changes
        // the scale, to minimized windows as well. The new resolution comes
        // with it.
        FormAccess::ChangeResolution(*form, HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_SIZE:
        if (wParam == SIZE_RESTORED)
            FormAccess::FitAfterRestore(*form);
        if (wParam == SIZE_MINIMIZED) {
            SaveFocus(*form, hwnd);
            if (IsChild(hwnd, GetFocus()))
                SetFocus(nullptr);
        }
        break;
    case WM_CLOSE:
        RaiseUnloadAndClose(*form);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY: {
        // Windows frees what it keeps for the window first; the form goes last.
        const LRESULT result = DefWindowProcW(hwnd, msg, wParam, lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        delete form;
        return result;
    }
    default:
        break;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK FormProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* form = static_cast<Form*>(create->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
        FormAccess::SetHandle(*form, hwnd);
        ScaleFrameWithResolution(hwnd);
    }
    return Untrapped([&] { return Dispatch(hwnd, msg, wParam, lParam); });
}

LRESULT CALLBACK TextBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* control = reinterpret_cast<ControlRecord*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    const WNDPROC editProc = control->editProc;
    return Untrapped([&]() -> LRESULT {
        const bool typed = msg == WM_CHAR || msg == WM_IME_CHAR;  // input methods type too
        if (typed && FormAccess::Handles(*control->form, *control, Event::KeyPress)) {
            // The handler sees the character as a signed 16-bit code and may
            // replace it; 0 discards it before it reaches the box.
            auto keyAscii = static_cast<std::int16_t>(static_cast<std::uint16_t>(wParam));
            FormAccess::RaiseKeyPress(*control->form, *control, keyAscii);
            if (keyAscii == 0)
                return 0;
            wParam = static_cast<std::uint16_t>(keyAscii);
        }
        const LRESULT result = CallWindowProcW(editProc, hwnd, msg, wParam, lParam);
        if (msg == WM_LBUTTONDBLCLK) {
            FormAccess::Raise(*control->form, control->def->id, Event::DblClick);
        }
        return result;
    });
}

}  // namespace

}  // namespace forms
