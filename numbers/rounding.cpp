#include "numbers/rounding.h"

#include <cmath>

namespace numbers {

float RoundToHundredths(float v) {
    if (!std::isfinite(v))
        return v;
    // A float holds 24 significant bits and 100 needs 7, so the product is
    // exact in double precision: the rounding below sees the float's true
    // value (16.275f is 16.27499961... and goes down).
    const double scaled = static_cast<double>(v) * 100.0;
    // Nearest whole number, ties to even, whatever the current rounding mode.
    // scaled - floor(scaled) is exact, so the half is recognised exactly.
    double whole = std::floor(scaled);
    const double fraction = scaled - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0))
        whole += 1.0;
    return static_cast<float>(whole / 100.0);
}

}  // namespace numbers
