#include <array>
#include <string>

#include "button_skin/mVistaButton.h"

namespace mVistaButton {

namespace {
class SavedDc {
public:
    explicit SavedDc(HDC dc) noexcept : dc_(dc), state_(SaveDC(dc)) {}
    ~SavedDc() {
        if (state_ != 0) RestoreDC(dc_, state_);
    }
    SavedDc(const SavedDc&) = delete;
    SavedDc& operator=(const SavedDc&) = delete;

private:
    HDC dc_;
    int state_;
};
}  // namespace

Face ChooseFace(UINT itemState) {
    if (itemState & ODS_DISABLED) return Face::Disabled;
    if (itemState & ODS_SELECTED) return Face::Pressed;
    if (itemState & ODS_FOCUS) return Face::Focused;
    return Face::Normal;
}

void DrawButton(HWND button, HDC dc, RECT& item, UINT itemState) {
    // The DC goes back to Windows as it came: its background mode, text
    // colour and selected objects, whatever the face changed, on an error
    // path too.
    const SavedDc saved(dc);
    SetBkMode(dc, TRANSPARENT);

    // A caption is read into 255 characters: at most 254 and the final NUL.
    std::array<wchar_t, 255> text{};
    const int length = GetWindowTextW(button, text.data(), static_cast<int>(text.size()));
    const std::wstring caption(text.data(), static_cast<std::size_t>(length > 0 ? length : 0));

    switch (ChooseFace(itemState)) {
    case Face::Disabled: DrawDisabledFace(dc, item, caption.c_str()); break;
    case Face::Pressed: DrawPressedFace(dc, item, caption.c_str()); break;
    case Face::Focused: DrawFocusedFace(dc, item, caption.c_str()); break;
    case Face::Normal: DrawNormalFace(dc, item, caption.c_str()); break;
    }
}

}  // namespace mVistaButton
