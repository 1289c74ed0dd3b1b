// Tavirel: the next trading day's limit-up and limit-down prices.
#include <windows.h>

#include "calculator/form1.h"
#include "forms_runtime/run.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    return forms::Run(calculator::kForm1, calculator::Form1Events(), instance);
}
