// Fuzzes the value services that take numbers rather than texts:
//
//   bytes 0-1  a character code for FilterPriceKey (int16, little-endian)
//   bytes 0-3  a float for RoundToHundredths and SingleToText
//   bytes 0-7  two int32 for CheckedAdd and CheckedSub, and a double for
//              CheckedToInt32
//
// What must hold:
//   - FilterPriceKey(c) is c for backspace, the point and the digits, and 0
//     for every other code;
//   - RoundToHundredths(x) is the float nearest n / 100, n the whole number
//     nearest x * 100 with ties to even (the hardware's own rounding);
//   - SingleToText(x), and the text of the rounded value, writes the decimal
//     nearest x with seven significant digits, ties to even: the same digits
//     and power as the C library's printf("%.6e"), in the plain form from
//     10^-4 up to 10^7 and the exponent form outside; for every finite x the
//     text is numeric and parses back to within 5e-7 of its own value
//     (the half unit of the seventh digit); infinities and NaN are written
//     as words that are not numeric;
//   - CheckedAdd and CheckedSub give the exact sum and difference, and raise
//     Overflow exactly when it lies outside 32 bits; CheckedToInt32 gives the
//     nearest whole number (ties to even) and raises Overflow exactly when
//     there is none in 32 bits.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <optional>
#include <string>

#include "calculator/entry_rules.h"
#include "forms_runtime/checked_arithmetic.h"
#include "forms_runtime/number_text.h"
#include "forms_runtime/numeric_text.h"
#include "forms_runtime/rounding.h"
#include "forms_runtime/runtime_error.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

template <typename T>
T Load(const std::uint8_t* data) {
    T value;
    std::memcpy(&value, data, sizeof value);
    return value;
}

std::string Hex(float x) {
    char text[64];
    std::snprintf(text, sizeof text, "float %a (%.9g)", static_cast<double>(x),
                  static_cast<double>(x));
    return text;
}

void CheckPriceKey(std::int16_t code) {
    const bool kept = code == 8 || code == 46 || (code >= 48 && code <= 57);
    FUZZ_CHECK(calculator::FilterPriceKey(code) == (kept ? code : 0),
               "code " + std::to_string(code));
}

void CheckRounding(float x) {
    const float rounded = forms::RoundToHundredths(x);
    if (!std::isfinite(x)) {
        FUZZ_CHECK(std::isnan(x) ? std::isnan(rounded) : rounded == x, Hex(x));
        return;
    }
    // x * 100 is exact in double precision (24 + 7 bits).
    const double whole = std::nearbyint(static_cast<double>(x) * 100.0);
    FUZZ_CHECK(rounded == static_cast<float>(whole / 100.0), Hex(x) + ", got " + Hex(rounded));
}

// A decimal as its significant digits (no leading or trailing zeros) and the
// power of ten of the first of them.
struct Decimal {
    std::string digits;
    int power = 0;
};

// The seven digits printf writes for x, nearest with ties to even.
Decimal PrintfDigits(float x) {
    char text[64];
    std::snprintf(text, sizeof text, "%.6e", std::fabs(static_cast<double>(x)));
    Decimal d;
    d.digits = std::string(1, text[0]) + std::string(text + 2, 6);
    d.digits.erase(d.digits.find_last_not_of('0') + 1);
    d.power = std::atoi(text + 9);
    return d;
}

// The significant digits and power of a numeric text, read as written.
Decimal WrittenDigits(const std::wstring& text, bool& exponentForm) {
    Decimal d;
    int integerDigits = 0;
    bool point = false;
    int exponent = 0;
    exponentForm = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'E') {
            exponentForm = true;
            exponent = std::stoi(std::wstring(text, i + 1));
            break;
        }
        if (c == L'.') {
            point = true;
        } else if (c >= L'0' && c <= L'9') {
            if (!point) ++integerDigits;
            d.digits += static_cast<char>(c);
        }
    }
    const std::size_t first = d.digits.find_first_not_of('0');
    if (first == std::string::npos) return Decimal{"", 0};
    d.digits.erase(0, first);
    d.digits.erase(d.digits.find_last_not_of('0') + 1);
    d.power = integerDigits - 1 - static_cast<int>(first) + exponent;
    return d;
}

void CheckText(float x) {
    const std::wstring text = forms::SingleToText(x);
    const std::string context = Hex(x) + ", text \"" + fuzz::Printable(text) + "\"";
    if (std::isnan(x)) {
        FUZZ_CHECK(text == L"NaN" && !forms::IsNumeric(text), context);
        return;
    }
    if (std::isinf(x)) {
        FUZZ_CHECK(text == (x < 0 ? L"-Infinity" : L"Infinity") && !forms::IsNumeric(text),
                   context);
        return;
    }
    FUZZ_CHECK(forms::IsNumeric(text), context);
    if (x == 0) {
        FUZZ_CHECK(text == L"0", context);
        return;
    }
    FUZZ_CHECK((text[0] == L'-') == (x < 0), context);

    bool exponentForm = false;
    const Decimal written = WrittenDigits(text, exponentForm);
    const Decimal expected = PrintfDigits(x);
    FUZZ_CHECK(written.digits == expected.digits && written.power == expected.power,
               context + ", printf " + expected.digits + "e" + std::to_string(expected.power));
    FUZZ_CHECK(exponentForm == (written.power >= 7 || written.power < -4), context);
    // Nothing superfluous: no trailing zero after a point, no bare point, a
    // single zero before the point below 1, two exponent digits at least.
    const std::size_t mantissaEnd = exponentForm ? text.find(L'E') : text.size();
    const std::wstring mantissa = text.substr(0, mantissaEnd);
    if (mantissa.find(L'.') != std::wstring::npos) {
        FUZZ_CHECK(mantissa.back() != L'0' && mantissa.back() != L'.', context);
    }
    const std::size_t lead = x < 0 ? 1 : 0;
    FUZZ_CHECK(text[lead] != L'0' || (text.size() > lead + 1 && text[lead + 1] == L'.'), context);
    if (exponentForm) {
        FUZZ_CHECK(text.size() - mantissaEnd >= 4 && (text[mantissaEnd + 1] == L'+' ||
                                                      text[mantissaEnd + 1] == L'-'),
                   context);
    }

    // The text stands for a decimal within half a unit of its seventh digit
    // of x, that is within 5e-7 of its own magnitude (the decimal is at least
    // 10^power). The parse adds at most 2^-53 relative; x - value is exact.
    const std::optional<double> value = forms::ParseNumber(text);
    FUZZ_CHECK(value.has_value(), context);
    const double error = std::fabs(*value - static_cast<double>(x));
    FUZZ_CHECK(error <= 5.0000001e-7 * std::fabs(*value), context);
}

void CheckAddSub(std::int32_t a, std::int32_t b) {
    const std::string context = "a " + std::to_string(a) + ", b " + std::to_string(b);
    const auto check = [&context](auto operation, std::int64_t exact) {
        const bool fits = exact >= std::numeric_limits<std::int32_t>::min() &&
                          exact <= std::numeric_limits<std::int32_t>::max();
        try {
            const std::int32_t result = operation();
            FUZZ_CHECK(fits && result == exact, context);
        } catch (const forms::RuntimeError& error) {
            FUZZ_CHECK(!fits && error.Number() == forms::ErrorNumber::Overflow, context);
        }
    };
    check([=] { return forms::CheckedAdd(a, b); }, std::int64_t{a} + b);
    check([=] { return forms::CheckedSub(a, b); }, std::int64_t{a} - b);
}

void CheckToInt32(double value) {
    char context[64];
    std::snprintf(context, sizeof context, "double %a", value);
    // Some whole number lies within half of any value in this range; at
    // exactly 2147483647.5 the tie goes to the even 2147483648.
    const bool fits = value >= -2147483648.5 && value < 2147483647.5;
    try {
        const std::int32_t result = forms::CheckedToInt32(value);
        FUZZ_CHECK(fits, context);
        const double distance = std::fabs(value - result);
        FUZZ_CHECK(distance < 0.5 || (distance == 0.5 && result % 2 == 0), context);
    } catch (const forms::RuntimeError& error) {
        FUZZ_CHECK(!fits && error.Number() == forms::ErrorNumber::Overflow, context);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    CheckPriceKey(Load<std::int16_t>(data));
    if (size < 4) return 0;
    const float x = Load<float>(data);
    CheckRounding(x);
    CheckText(x);
    CheckText(forms::RoundToHundredths(x));
    if (size < 8) return 0;
    CheckAddSub(Load<std::int32_t>(data), Load<std::int32_t>(data + 4));
    CheckToInt32(Load<double>(data));
    return 0;
}
