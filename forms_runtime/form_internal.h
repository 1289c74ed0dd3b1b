// The runtime's own view of a form: its control records and the calls that
// raise events. Not for handlers.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "forms_runtime/form.h"
#include "forms_runtime/scoped_gdi.h"

namespace forms {

struct ControlRecord {
    const ControlDef* def = nullptr;
    Form* form = nullptr;
    HWND hwnd = nullptr;
    WNDPROC editProc = nullptr;  // a text box's own procedure, under the runtime's
    OwnedBrush backBrush;        // for a back colour of its own; freed with the form
    COLORREF backColour = 0;
    int programWrites = 0;  // the runtime is writing the text itself
};

struct FormAccess {
    static ControlRecord* Find(const Form& form, HWND hwnd);
    static ControlRecord* Find(const Form& form, ControlId id);
    static std::span<const std::unique_ptr<ControlRecord>> Controls(const Form& form) { return form.controls_; }
    static void Raise(Form& form, ControlId id, Event event);
    // Raises Unload; false when a handler cancelled it.
    static bool RaiseUnload(Form& form);
    static void SetHandle(Form& form, HWND hwnd) { form.hwnd_ = hwnd; }
    static void RaiseKeyPress(Form& form, const ControlRecord& control, std::int16_t& keyAscii);
    static bool Handles(const Form& form, const ControlRecord& control, Event event);
    static HWND& LastFocus(Form& form) { return form.lastFocus_; }
    static void ChangeResolution(Form& form, int dpi, const RECT& suggested) { form.ChangeResolution(dpi, suggested); }
    static SIZE OuterSize(const Form& form, int dpi) { return form.OuterSize(dpi); }
    static void FitAfterRestore(Form& form) { form.FitAfterRestore(); }
};

// The form whose window holds hwnd (the window itself or any of its
// controls), or null for a window that is not a form's.
Form* FormOwning(HWND hwnd);

// Whether an option button is selected.
bool Checked(const ControlRecord& option);

// The option buttons of option's group, the option included, in table order:
// those of its form that share its container.
std::vector<const ControlRecord*> OptionGroup(const ControlRecord& option);

// Fonts of one form at its resolution, made once for each definition that
// asks; they are freed with the set.
class FontSet {
public:
    explicit FontSet(int dpi) : dpi_(dpi) {}
    // The set's font for def; the set keeps it.
    HFONT Get(const FontDef& def);

private:
    int dpi_;
    struct Entry {
        const FontDef* def;
        OwnedFont font;
    };
    std::vector<Entry> fonts_;
};

// The resolution the system shows the window at: the window's own from
// Windows 10 1607 on, its monitor's on Windows 8.1, the system's before.
int CurrentDpi(HWND window);

// Asks Windows 10 1607 to scale the window's title bar and frame with its
// resolution, as later versions do by themselves; called at WM_NCCREATE.
void ScaleFrameWithResolution(HWND window);

// The outer size of the window around a client area of width x height
// pixels, its frame as thick as the system draws it at dpi.
SIZE FrameSize(HWND window, int width, int height, int dpi);

// Resizes the window, its top-left staying, so that its client area is
// exactly width x height pixels whatever its frame really takes.
void FitClientArea(HWND window, int width, int height);

// A system metric (icon sizes...) at dpi where Windows can say, else at the
// system's resolution.
int SystemMetric(int index, int dpi);

// The last resort for a missing face, asked of each family the system lists
// until it takes one: a TrueType family written horizontally, whose name it
// copies into face, terminated.
bool TakeLastResortFace(const LOGFONTW& font, DWORD fontType, wchar_t (&face)[LF_FACESIZE]);

// The frame: a container window that draws an etched border with its caption
// and hands its controls' notifications on to the form.
ATOM RegisterFrameClass(HINSTANCE instance);
extern const wchar_t kFrameClass[];

// Keyboard movement between the controls of a form: Tab and Shift+Tab in tab
// order, the arrow keys within an option group. True when the key was used.
bool TranslateFormKey(const MSG& msg);

}  // namespace forms
