#include "numbers/checked_arithmetic.h"

#include <cmath>
#include <limits>

#include "numbers/runtime_error.h"

namespace numbers {

namespace {
std::int32_t Narrow(std::int64_t wide) {
    if (wide < std::numeric_limits<std::int32_t>::min() || wide > std::numeric_limits<std::int32_t>::max()) {
        Raise(ErrorNumber::Overflow);
    }
    return static_cast<std::int32_t>(wide);
}
}  // namespace

std::int32_t CheckedSub(std::int32_t a, std::int32_t b) {
    return Narrow(static_cast<std::int64_t>(a) - b);
}

std::int32_t CheckedToInt32(double value) {
    const double rounded = std::nearbyint(value);  // default mode: ties to even
    // NaN fails both comparisons and so lands in the error as well.
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0))
        Raise(ErrorNumber::Overflow);
    return static_cast<std::int32_t>(rounded);
}

}  // namespace numbers
