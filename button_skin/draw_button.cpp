#include <array>
#include <string_view>

#include "button_skin/mVistaButton.h"
#include "forms_runtime/scoped_gdi.h"
#include "forms_runtime/window_text.h"

namespace mVistaButton {

Face ChooseFace(UINT itemState) {
    if (itemState & ODS_DISABLED)
        return Face::Disabled;
    if (itemState & ODS_SELECTED)
        return Face::Pressed;
    if (itemState & ODS_FOCUS)
        return Face::Focused;
    return Face::Normal;
}

void DrawButton(HWND button, HDC dc, RECT& item, UINT itemState) {
    // The DC goes back to Windows as it came: its background mode, text
    // colour and selected objects, whatever the face changed, on an error
    // path too.
    const forms::SavedDc saved(dc);
    SetBkMode(dc, TRANSPARENT);

    // A caption is read into 255 characters: at most 254 and the final NUL,
    // which ends it for the face.
    std::array<wchar_t, 255> text{};
    const std::wstring_view caption = forms::WindowText(button, text);

    switch (ChooseFace(itemState)) {
    case Face::Disabled:
        DrawDisabledFace(dc, item, caption.data());
        break;
    case Face::Pressed:
        DrawPressedFace(dc, item, caption.data());
        break;
    case Face::Focused:
        DrawFocusedFace(dc, item, caption.data());
        break;
    case Face::Normal:
        DrawNormalFace(dc, item, caption.data());
        break;
    }
}

}  // namespace mVistaButton
