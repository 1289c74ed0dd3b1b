// Number to text for single-precision values. Portable, and independent of
// the C runtime's locale and printf.
#pragma once

#include <string>

namespace numbers {

// At most 7 significant digits of the exact value (ties to even), a point as
// the decimal separator, trailing zeros and a bare point dropped, a zero
// before the point below 1 ("0.05"), zero as "0", and the exponent form
// "1.1E+07" from 10^7 on (at least two exponent digits).
std::wstring SingleToText(float value);

}  // namespace numbers
