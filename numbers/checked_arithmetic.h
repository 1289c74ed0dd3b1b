// Signed 32-bit coordinate arithmetic with overflow detection. A result outside the
// 32-bit range raises the runtime's Overflow error (6) at that point.
// Portable: no Win32 here.
#pragma once

#include <cstdint>

namespace numbers {

std::int32_t CheckedSub(std::int32_t a, std::int32_t b);

// A whole-number double converted to 32 bits; Overflow when out of range.
// Rounds to nearest, ties to even, for values that are not whole.
std::int32_t CheckedToInt32(double value);

}  // namespace numbers
