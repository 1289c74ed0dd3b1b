#include "numbers/number_text.h"

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

// The text of a float, built from its exact value rather than from printf,
// so that neither the C runtime nor the system's locale has a say:
//
//   - the exact decimal expansion of the float (a float is m * 2^e, that is
//     m * 5^-e / 10^-e for negative e, so a few hundred decimal digits at
//     most) is rounded to 7 significant digits, ties to even: 1234567.5 is
//     written 1234568, 100000.25 is written 100000.2.
//   - the rounded value decides the form. From 10^7 on, and below 10^-4, the
//     exponent form: the significant digits with a point after the first,
//     "E", the sign and at least two exponent digits (1.1E+07, 1E-05).
//     Otherwise the plain form with a point as the decimal separator and no
//     thousands separators, and a zero before the point below 1 (0.05).
//   - trailing zeros after the point are dropped, and the point with them
//     when no digit follows. Zero is "0", negative zero too; a negative value
//     gets a leading "-".
//   - the program never converts infinities or NaN, which are written as
//     "Infinity", "-Infinity" and "NaN".

namespace numbers {

namespace {

constexpr int kSignificantDigits = 7;

// A natural number as decimal digits, least significant first.
class DecimalDigits {
public:
    explicit DecimalDigits(std::uint32_t value) {
        do {
            digits_.push_back(static_cast<std::uint8_t>(value % 10));
            value /= 10;
        } while (value != 0);
    }

    void MultiplyBy(unsigned factor) {
        unsigned carry = 0;
        for (std::uint8_t& digit : digits_) {
            const unsigned product = digit * factor + carry;
            digit = static_cast<std::uint8_t>(product % 10);
            carry = product / 10;
        }
        for (; carry != 0; carry /= 10)
            digits_.push_back(static_cast<std::uint8_t>(carry % 10));
    }

    std::size_t Size() const { return digits_.size(); }
    // Digit i counted from the most significant one.
    unsigned FromTop(std::size_t i) const { return digits_[digits_.size() - 1 - i]; }

private:
    std::vector<std::uint8_t> digits_;
};

// A nonzero finite magnitude rounded to 7 significant digits:
// digits * 10^(power - 6), with 10^6 <= digits < 10^7.
struct Rounded {
    std::uint32_t digits;
    int power;  // the power of ten of the leading digit
};

Rounded RoundToSignificant(float magnitude) {
    const std::uint32_t bits = std::bit_cast<std::uint32_t>(magnitude);
    const int biased = static_cast<int>(bits >> 23);
    const std::uint32_t fraction = bits & 0x7FFFFFu;
    const std::uint32_t mantissa = biased == 0 ? fraction : fraction | 0x800000u;
    const int binaryExponent = (biased == 0 ? 1 : biased) - 150;

    // The exact value: expansion * 10^-decimalShift.
    DecimalDigits expansion(mantissa);
    int decimalShift = 0;
    if (binaryExponent >= 0) {
        for (int i = 0; i < binaryExponent; ++i)
            expansion.MultiplyBy(2);
    } else {
        for (int i = 0; i < -binaryExponent; ++i)
            expansion.MultiplyBy(5);
        decimalShift = -binaryExponent;
    }

    const std::size_t size = expansion.Size();
    Rounded rounded{0, static_cast<int>(size) - 1 - decimalShift};
    for (std::size_t i = 0; i < kSignificantDigits; ++i) {
        rounded.digits = rounded.digits * 10 + (i < size ? expansion.FromTop(i) : 0);
    }
    if (size > kSignificantDigits) {
        // Up when the rest is more than half a unit of the last kept digit,
        // or exactly half and the last kept digit is odd.
        const unsigned first = expansion.FromTop(kSignificantDigits);
        bool beyondHalf = first > 5;
        if (first == 5) {
            for (std::size_t i = kSignificantDigits + 1; i < size && !beyondHalf; ++i) {
                beyondHalf = expansion.FromTop(i) != 0;
            }
        }
        const bool tie = first == 5 && !beyondHalf;
        if (beyondHalf || (tie && rounded.digits % 2 != 0)) {
            if (++rounded.digits == 10'000'000) {
                rounded.digits = 1'000'000;
                ++rounded.power;
            }
        }
    }
    return rounded;
}

std::wstring Decimals(std::uint32_t digits) {
    std::wstring text(kSignificantDigits, L'0');
    for (int i = kSignificantDigits - 1; i >= 0; --i, digits /= 10) {
        text[static_cast<std::size_t>(i)] = static_cast<wchar_t>(L'0' + digits % 10);
    }
    return text;
}

}  // namespace

std::wstring SingleToText(float value) {
    if (std::isnan(value))
        return L"NaN";
    if (std::isinf(value))
        return value < 0 ? L"-Infinity" : L"Infinity";
    if (value == 0)
        return L"0";

    const Rounded rounded = RoundToSignificant(std::fabs(value));
    std::wstring significant = Decimals(rounded.digits);
    significant.erase(significant.find_last_not_of(L'0') + 1);  // the first digit is nonzero

    std::wstring text = value < 0 ? L"-" : L"";
    const int power = rounded.power;
    if (power >= 7 || power < -4) {
        text += significant[0];
        if (significant.size() > 1)
            text += L'.' + significant.substr(1);
        text += power < 0 ? L"E-" : L"E+";
        const int magnitude = power < 0 ? -power : power;
        // A float's power of ten lies within -45..38: two digits.
        text += static_cast<wchar_t>(L'0' + magnitude / 10);
        text += static_cast<wchar_t>(L'0' + magnitude % 10);
    } else if (power >= 0) {
        const std::size_t integerDigits = static_cast<std::size_t>(power) + 1;
        if (significant.size() <= integerDigits) {
            text += significant;
            text.append(integerDigits - significant.size(), L'0');
        } else {
            text += significant.substr(0, integerDigits);
            text += L'.';
            text += significant.substr(integerDigits);
        }
    } else {
        text += L"0.";
        text.append(static_cast<std::size_t>(-power - 1), L'0');
        text += significant;
    }
    return text;
}

}  // namespace numbers
