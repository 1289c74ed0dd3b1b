#include "forms_runtime/application.h"

#include "forms_runtime/form.h"
#include "forms_runtime/form_internal.h"
#include "forms_runtime/message_box.h"
#include "forms_runtime/run.h"

namespace forms {

void ReportUntrappedError(const numbers::RuntimeError& error) {
    const std::wstring message = numbers::UntrappedErrorMessage(error);
    MsgBox(message.c_str(), MB_OK | MB_ICONERROR, L"Tavirel");
    End(1);
}

void End(UINT exitCode) {
    ExitProcess(exitCode);
}

int Run(const FormDef& startup, std::span<const EventBinding> events, HINSTANCE instance) {
    Form::Load(startup, events, instance).Show();
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (TranslateFormKey(msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace forms
