// Two-decimal rounding of single-precision values. Portable.
#pragma once

namespace numbers {

// v rounded to a whole number of hundredths, ties to even, decided on the
// exact value of v (v * 100 is exact in double precision); the result is
// n / 100 divided in double precision and rounded to single precision.
float RoundToHundredths(float v);

}  // namespace numbers
