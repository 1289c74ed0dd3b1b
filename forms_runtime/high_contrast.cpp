#include "forms_runtime/high_contrast.h"

#include <windows.h>

#include <optional>

namespace forms {

namespace {

bool SystemHighContrast() {
    HIGHCONTRASTW setting{sizeof setting, 0, nullptr};
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof setting, &setting, 0) &&
           (setting.dwFlags & HCF_HIGHCONTRASTON);
}

HighContrastSource source = SystemHighContrast;
std::optional<bool> known;

}  // namespace

bool HighContrast() {
    if (!known)
        ReadHighContrast();
    return *known;
}

void ReadHighContrast() {
    known = source();
}

void SetHighContrastSource(HighContrastSource newSource) {
    source = newSource ? newSource : SystemHighContrast;
}

}  // namespace forms
