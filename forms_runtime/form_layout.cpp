// The one place where the definition's twips become pixels: the first layout
// of a window and every layout after a change of resolution run through
// here, so that a window moved to a resolution is the one started there.
#include <windows.h>

#include <memory>
#include <string>

#include "forms_runtime/form.h"
#include "forms_runtime/form_internal.h"
#include "forms_runtime/scoped_gdi.h"
#include "forms_runtime/window_text.h"

namespace forms {

namespace {

// A label's caption in font: its width and the height of its line.
SIZE CaptionExtent(HWND label, HFONT font) {
    const std::wstring caption = WindowText(label);
    const ScopedGetDc dc(label);
    const ScopedSelect selected(dc.Get(), font);
    SIZE extent{};
    GetTextExtentPoint32W(dc.Get(), caption.c_str(), static_cast<int>(caption.size()), &extent);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.Get(), &metrics);
    return SIZE{extent.cx, metrics.tmHeight};
}

// A label that sizes itself to its caption, in its own font.
void AutoSize(HWND label, HFONT font) {
    const SIZE size = CaptionExtent(label, font);
    SetWindowPos(label, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void Form::LayOutControls(int dpi) {
    dpi_ = dpi;
    auto fonts = std::make_unique<FontSet>(dpi);
    const HFONT formFont = def_.font ? fonts->Get(*def_.font) : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    for (const auto& control : controls_) {
        const ControlDef& def = *control->def;
        const HFONT font = def.font ? fonts->Get(*def.font) : formFont;
        SendMessageW(control->hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        SetWindowPos(control->hwnd, nullptr, TwipsToPixels(def.left, dpi), TwipsToPixels(def.top, dpi),
                     TwipsToPixels(def.width, dpi), TwipsToPixels(def.height, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
        if (def.kind == ControlKind::Label && (def.flags & kAutoSize))
            AutoSize(control->hwnd, font);
    }
    // The previous resolution's fonts are freed only here, when no control
    // holds them any more: a font in use must not be deleted.
    fonts_.swap(fonts);
    fonts.reset();
    SetIcons(dpi);
}

SIZE Form::OuterSize(int dpi) const {
    return FrameSize(hwnd_, TwipsToPixels(def_.clientWidth, dpi), TwipsToPixels(def_.clientHeight, dpi), dpi);
}

void Form::FitClient() {
    FitClientArea(hwnd_, TwipsToPixels(def_.clientWidth, dpi_), TwipsToPixels(def_.clientHeight, dpi_));
}

void Form::FitAfterRestore() {
    if (!fitOnRestore_)
        return;
    fitOnRestore_ = false;
    FitClient();
}

void Form::LayOut(int dpi) {
    LayOutControls(dpi);
    const SIZE outer = OuterSize(dpi);
    SetWindowPos(hwnd_, nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    FitClient();
}

void Form::ChangeResolution(int dpi, const RECT& suggested) {
    LayOutControls(dpi);
    if (IsIconic(hwnd_)) {
        // Minimized (the user changed the display's scale, say): the window
        // stays where the system keeps it, and will restore at the new size
        // from the top-left it had. It cannot be maximized: it has neither a
        // maximize box nor a sizing border.
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        GetWindowPlacement(hwnd_, &placement);
        const SIZE outer = OuterSize(dpi);
        placement.rcNormalPosition.right = placement.rcNormalPosition.left + outer.cx;
        placement.rcNormalPosition.bottom = placement.rcNormalPosition.top + outer.cy;
        placement.showCmd = SW_SHOWMINNOACTIVE;
        SetWindowPlacement(hwnd_, &placement);
        fitOnRestore_ = true;
    } else {
        // One move to the rectangle Windows suggests, which is the window's
        // own size where Windows asked for it (WM_GETDPISCALEDSIZE).
        SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                     suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
        FitClient();
    }
    // Everything is painted again at its new size, the owner-drawn buttons
    // included, which size their faces by the button.
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

}  // namespace forms
