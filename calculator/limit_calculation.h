// The price-limit calculation of the calculator window, away from any window:
// a price text and a band in, the two result texts out. Portable.
#pragma once

#include <string>
#include <string_view>

namespace calculator {

enum class Band { TenPercent, FivePercent };

enum class Outcome {
    NotNumeric,   // the price text is not a number: nothing happens
    NotPositive,  // the price is not greater than 0: the price message
    OutOfRange,   // the price or its limit-up lies beyond single precision: nothing happens
    Computed,     // limitUp and limitDown hold the texts to show
};

struct LimitResult {
    Outcome outcome = Outcome::NotNumeric;
    std::wstring limitUp;    // text for txtZTPrice
    std::wstring limitDown;  // text for txtDTPrice
};

LimitResult CalculateLimits(std::wstring_view priceText, Band band);

// Whether a result box's text can be carried forward or copied: numeric, and
// its double value (not rounded to single) greater than 0; a numeric text
// beyond the double range counts as positive unless it has a minus sign.
bool IsPositiveNumber(std::wstring_view text);

}  // namespace calculator
