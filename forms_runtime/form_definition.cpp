#include "forms_runtime/form_definition.h"

namespace forms {

int TwipsToPixels(int twips, int dpi) {
    // 1440 twips an inch; rounded to the nearest pixel, halves away from zero.
    const long long scaled = static_cast<long long>(twips) * dpi;
    return static_cast<int>(scaled >= 0 ? (scaled + 720) / 1440 : -((-scaled + 720) / 1440));
}

}  // namespace forms
