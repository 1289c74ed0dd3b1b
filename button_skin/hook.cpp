#include "button_skin/mVistaButton.h"

#include "forms_runtime/application.h"

namespace mVistaButton {

WNDPROC PrevWndProc = nullptr;

void HookWindow(HWND hWnd) {
    // Null when the window could not be subclassed.
    PrevWndProc =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc)));
}

void UnhookWindow(HWND hWnd) {
    if (PrevWndProc == nullptr)
        return;
    // PrevWndProc keeps its value: a later message still has somewhere to go.
    SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PrevWndProc));
}

LRESULT CALLBACK WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    return forms::Untrapped([&]() -> LRESULT {
        // The faces write into the item rectangle; the request that Windows
        // handed us stays as it was.
        DRAWITEMSTRUCT request{};
        switch (uMsg) {
        case WM_DESTROY:
            UnhookWindow(hWnd);
            break;
        case WM_DRAWITEM:
            request = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (request.CtlType == ODT_BUTTON) {
                DrawButton(request.hwndItem, request.hDC, request.rcItem, request.itemState);
                return 1;
            }
            break;
        default:
            break;
        }
        return CallWindowProcW(PrevWndProc, hWnd, uMsg, wParam, lParam);
    });
}

}  // namespace mVistaButton
