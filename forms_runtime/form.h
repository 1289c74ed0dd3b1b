// A window built from its definition, with its controls and events.
#pragma once

#include <windows.h>

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "forms_runtime/form_definition.h"
#include "forms_runtime/form_events.h"
#include "forms_runtime/scoped_gdi.h"

namespace forms {

struct ControlRecord;
class FontSet;

class Form {
public:
    // Creates the window and every control of the definition with its start
    // values, laid out at dpi dots per inch, then raises Load. The window is
    // not shown yet. A dpi of 0 means the resolution of the monitor the
    // window opens on.
    static Form& Load(const FormDef& def, std::span<const EventBinding> events, HINSTANCE instance, int dpi = 0);

    // Shows the window centred on the screen, the focus in its first tab stop.
    void Show();

    // Closes the window as the user would: Unload, then the window goes.
    void Close();

    HWND hWnd() const { return hwnd_; }
    int Dpi() const { return dpi_; }  // the resolution the window is laid out at now

    HWND Control(ControlId id) const;
    std::wstring Text(ControlId id) const;
    // Sets a text box's text. Change is raised before this returns, but only
    // when the text really changes: an unchanged write raises nothing, so a
    // handler that writes into its own box cannot loop.
    void SetText(ControlId id, std::wstring_view text);
    bool Value(ControlId id) const;  // option button selected

    ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

private:
    Form(const FormDef& def, std::span<const EventBinding> events);

    // Places and sizes every control, gives each its font and sizes the
    // auto-sized labels, sets the icons and sizes the window, all from the
    // definition at dpi. Serves the first layout and every change of
    // resolution alike, so that a window moved to a resolution is laid out
    // as one started there.
    void LayOut(int dpi);
    void LayOutControls(int dpi);
    // After a change of resolution: laid out at dpi in the suggested
    // rectangle, or, while minimized, restoring to the new size.
    void ChangeResolution(int dpi, const RECT& suggested);
    SIZE OuterSize(int dpi) const;  // the window's outer size at dpi
    void FitClient();               // the client area exactly the definition's
    void FitAfterRestore();         // once, after a change of resolution while minimized
    // The window's icons at the sizes for dpi, from the program's icon; the
    // form's own ones that they replace are destroyed.
    void SetIcons(int dpi);

    friend struct FormAccess;
    const FormDef& def_;
    std::span<const EventBinding> events_;
    HWND hwnd_ = nullptr;
    int dpi_ = 96;
    std::unique_ptr<FontSet> fonts_;
    std::vector<std::unique_ptr<ControlRecord>> controls_;
    HWND lastFocus_ = nullptr;
    // ICON_SMALL and ICON_BIG as the form last set them; destroyed with the
    // form, once the window that showed them is gone.
    OwnedIcon icons_[2];
    bool fitOnRestore_ = false;  // resized while minimized: fit when restored
};

// The program's form: the first one loaded that is still there, or null.
Form* ProgramForm();

// The program's form's window, or null. Message boxes that name no owner
// belong to it.
HWND ProgramWindow();

}  // namespace forms
