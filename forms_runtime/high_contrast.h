// Whether the user has chosen a high-contrast theme, under which the window
// draws in the system's colour pairs alone. Read once, and again whenever
// the theme changes (the forms do on WM_SYSCOLORCHANGE and on
// WM_SETTINGCHANGE for SPI_SETHIGHCONTRAST), not on every paint.
#pragma once

namespace forms {

bool HighContrast();
void ReadHighContrast();

// Where the setting is read from: SPI_GETHIGHCONTRAST, unless in-process
// tests put a source of their own in (null gives the system's back).
using HighContrastSource = bool (*)();
void SetHighContrastSource(HighContrastSource source);

}  // namespace forms
