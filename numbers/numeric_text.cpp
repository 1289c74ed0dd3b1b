#include "numbers/numeric_text.h"

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string>
#include <system_error>

// What reads as a number. Only ASCII characters take part; the whole text
// must match, with nothing before or after it (no spaces anywhere):
//
//   number   = [ "-" ] mantissa [ exponent ]
//   mantissa = digits [ "." [ digits ] ]     12   12.5   12.
//            | "." digits                    .5
//   exponent = ( "E" | "e" ) [ "+" | "-" ] digits
//   digits   = one or more of "0".."9"
//
// So the mantissa holds at least one digit and at most one point, and the
// exponent form is the one SingleToText writes for large values (1.1E+07).
// Not numbers: the empty text, ".", "-", "1..2", "1e", "1e+", a leading "+",
// spaces, thousands separators, currency signs, "&H10", "0x10", "inf", "nan",
// and any character outside ASCII (full-width digits included).
//
// ParseNumber reads only the texts IsNumeric accepts, and gives each of them
// its nearest double: zero (with the text's sign) when the value is too small
// for a double, nothing when it is too large.

namespace numbers {

namespace {

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

// The shape of a text that matches the grammar above.
struct Scan {
    bool numeric = false;
    bool negative = false;
    // The power of ten of the first nonzero mantissa digit, ignoring the
    // exponent part, and whether there is such a digit at all.
    std::int64_t leadingPower = 0;
    bool anyNonzero = false;
    // The exponent part's value, held within +-kExponentLimit.
    std::int64_t exponent = 0;
    // Where the exponent part begins (the text's end when there is none),
    // and whether the mantissa holds a point.
    std::size_t mantissaEnd = 0;
    bool point = false;
};

// Far beyond any exponent that matters for a double, yet no overflow when a
// position of a long mantissa is added to it.
constexpr std::int64_t kExponentLimit = 1'000'000'000;

Scan ScanNumber(std::wstring_view text) {
    Scan scan;
    std::size_t i = 0;
    const std::size_t n = text.size();
    if (i < n && text[i] == L'-') {
        scan.negative = true;
        ++i;
    }

    std::size_t digits = 0;  // mantissa digits seen
    std::size_t integerDigits = 0;
    std::size_t firstNonzero = 0;  // index of the first nonzero digit
    bool point = false;
    for (; i < n; ++i) {
        const wchar_t c = text[i];
        if (IsDigit(c)) {
            if (c != L'0' && !scan.anyNonzero) {
                scan.anyNonzero = true;
                firstNonzero = digits;
            }
            ++digits;
            if (!point)
                ++integerDigits;
        } else if (c == L'.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (digits == 0)
        return scan;
    scan.mantissaEnd = i;
    scan.point = point;
    // Digit k of the mantissa (from 0, fraction digits included) stands for
    // the power integerDigits - 1 - k.
    scan.leadingPower = static_cast<std::int64_t>(integerDigits) - 1 - static_cast<std::int64_t>(firstNonzero);

    if (i < n && (text[i] == L'E' || text[i] == L'e')) {
        ++i;
        bool negativeExponent = false;
        if (i < n && (text[i] == L'+' || text[i] == L'-')) {
            negativeExponent = text[i] == L'-';
            ++i;
        }
        const std::size_t start = i;
        std::int64_t value = 0;
        for (; i < n && IsDigit(text[i]); ++i) {
            if (value < kExponentLimit)
                value = value * 10 + (text[i] - L'0');
        }
        if (i == start)
            return scan;
        if (value > kExponentLimit)
            value = kExponentLimit;
        scan.exponent = negativeExponent ? -value : value;
    }
    scan.numeric = i == n;
    return scan;
}

}  // namespace

bool IsNumeric(std::wstring_view text) {
    return ScanNumber(text).numeric;
}

std::optional<double> ParseNumber(std::wstring_view text) {
    const Scan scan = ScanNumber(text);
    if (!scan.numeric)
        return std::nullopt;
    if (!scan.anyNonzero)
        return scan.negative ? -0.0 : 0.0;

    // The text is plain ASCII now, in a form std::from_chars reads fully:
    // it rounds correctly, ignores the locale and takes linear time however
    // many digits there are.
    //
    // Twenty zeros are added to the mantissa. The value stays the same, but
    // with more than 19 digits from_chars takes its integer-only way rather
    // than a quick one that multiplies in floating point: on 32-bit x86 the
    // library does that in the x87 unit's extended precision, and rounding
    // twice misses the nearest double now and then (7091431314788835e5).
    constexpr std::size_t kPadding = 20;
    std::string ascii;
    ascii.reserve(text.size() + kPadding + 1);
    const auto append = [&ascii](std::wstring_view part) {
        for (const wchar_t c : part)
            ascii += static_cast<char>(c);
    };
    append(text.substr(0, scan.mantissaEnd));
    if (!scan.point)
        ascii += '.';
    ascii.append(kPadding, '0');
    append(text.substr(scan.mantissaEnd));

    double value = 0.0;
    const char* const first = ascii.data();
    const char* const last = first + ascii.size();
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
    if (end != last)
        return std::nullopt;  // the scan above rules this out
    if (error == std::errc())
        return value;
    // Out of range: a value too small for a double rounds to zero; a value
    // too large has no double. The two lie hundreds of powers of ten apart,
    // so the power of the leading digit tells them apart.
    if (error == std::errc::result_out_of_range && scan.leadingPower + scan.exponent < 0) {
        return scan.negative ? -0.0 : 0.0;
    }
    return std::nullopt;
}

}  // namespace numbers
