// The window's icons, at the sizes the system shows them at the window's
// resolution, made from the program's icon (Windows scales its one image).
#include <windows.h>

#include <utility>

#include "forms_runtime/form.h"
#include "forms_runtime/form_internal.h"

namespace forms {

void Form::SetIcons(int dpi) {
    if (def_.iconResource == 0)
        return;
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd_, GWLP_HINSTANCE));
    constexpr struct {
        WPARAM which;
        int width, height;
    } kIcons[] = {{ICON_SMALL, SM_CXSMICON, SM_CYSMICON}, {ICON_BIG, SM_CXICON, SM_CYICON}};
    for (const auto& icon : kIcons) {
        // Not shared, so that it can be destroyed once it is replaced.
        OwnedIcon made(
            static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(def_.iconResource), IMAGE_ICON,
                                          SystemMetric(icon.width, dpi), SystemMetric(icon.height, dpi), 0)));
        const auto replaced =
            reinterpret_cast<HICON>(SendMessageW(hwnd_, WM_SETICON, icon.which, reinterpret_cast<LPARAM>(made.get())));
        // Only the form's own icon is destroyed: one that somebody else set
        // may be shared. Where somebody did, WM_SETICON handed the form's
        // own to them, and the form lets go of it.
        OwnedIcon& own = icons_[icon.which];
        if (replaced != own.get())
            static_cast<void>(own.release());
        own = std::move(made);  // destroys the one replaced
    }
}

}  // namespace forms
