#include "calculator/limit_calculation.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <optional>

#include "numbers/number_text.h"
#include "numbers/numeric_text.h"
#include "numbers/rounding.h"

namespace calculator {

namespace {

// The band rates are single-precision values: the floats nearest 0.1 and 0.05.
constexpr float kTenPercent = 0.1f;
constexpr float kFivePercent = 0.05f;
static_assert(std::bit_cast<std::uint32_t>(kTenPercent) == 0x3DCCCCCDu);
static_assert(std::bit_cast<std::uint32_t>(kFivePercent) == 0x3D4CCCCDu);

// price + sign * rate * price: the product of two floats is exact in double
// precision, the sum is rounded to double and then to single precision.
float ApplyRate(float price, float rate, double sign) {
    const double change = static_cast<double>(rate) * static_cast<double>(price);
    return static_cast<float>(static_cast<double>(price) + sign * change);
}

}  // namespace

LimitResult CalculateLimits(std::wstring_view priceText, Band band) {
    LimitResult result;
    if (!numbers::IsNumeric(priceText)) {
        result.outcome = Outcome::NotNumeric;
        return result;
    }
    const std::optional<double> parsed = numbers::ParseNumber(priceText);
    if (!parsed) {
        result.outcome = Outcome::OutOfRange;
        return result;
    }
    const float price = static_cast<float>(*parsed);
    if (std::isinf(price)) {
        result.outcome = Outcome::OutOfRange;
        return result;
    }
    if (!(price > 0)) {
        result.outcome = Outcome::NotPositive;
        return result;
    }

    const float rate = band == Band::TenPercent ? kTenPercent : kFivePercent;
    const float up = ApplyRate(price, rate, 1.0);
    // A limit-up beyond single precision is refused like a price beyond it:
    // nothing is written.
    if (std::isinf(up)) {
        result.outcome = Outcome::OutOfRange;
        return result;
    }
    const float down = ApplyRate(price, rate, -1.0);

    result.outcome = Outcome::Computed;
    result.limitUp = numbers::SingleToText(numbers::RoundToHundredths(up));
    result.limitDown = numbers::SingleToText(numbers::RoundToHundredths(down));
    return result;
}

bool IsPositiveNumber(std::wstring_view text) {
    if (!numbers::IsNumeric(text))
        return false;
    // A numeric text whose value lies beyond the double range is still a
    // number, and positive unless it has a minus sign: copying it copies its
    // text, and carrying it forward hands the calculation a price it refuses.
    const std::optional<double> value = numbers::ParseNumber(text);
    return value ? *value > 0 : text.front() != L'-';
}

}  // namespace calculator
