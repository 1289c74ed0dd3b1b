// Fuzzes everything the program does with a text typed or pasted into a box:
// the numeric test, the parse, the limit calculation for both bands, and the
// guard of the result boxes.
//
// Input bytes become the text in one of two ways:
//   - FF FE, then UTF-16LE code units: any unit at all, lone surrogates and
//     full-width digits included (an odd last byte is dropped);
//   - otherwise one character per byte: a byte below 0x80 is that ASCII
//     character, a byte from 0x80 on is one of the characters numbers are
//     made of, so that mutations keep producing digits, points, signs and
//     exponents. The seed files are therefore plain texts ("3.33").
//
// What must hold for every text:
//   - IsNumeric agrees with the grammar, read here by a table-driven
//     automaton written apart from the scanner it checks;
//   - a rejected text parses to nothing; an accepted one parses to the same
//     double as the C library's strtod (bit for bit, sign of zero included),
//     and to nothing only where strtod overflows, which needs a leading digit
//     of power 308 or more;
//   - CalculateLimits writes two non-negative numeric texts, upper >= lower,
//     each within a cent (plus float and seven-digit rounding) of
//     price * (1 +- rate), when it computes, and writes nothing otherwise;
//     its outcome is NotNumeric exactly when IsNumeric says no, and every
//     other outcome fits the parsed value;
//   - GuardEmptiesBox(text) == !IsNumeric(text), and IsPositiveNumber(text)
//     is true exactly when the text is numeric and its value is above zero
//     (read from its sign when it lies beyond the double range).

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "calculator/entry_rules.h"
#include "calculator/limit_calculation.h"
#include "forms_runtime/numeric_text.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

using calculator::Band;
using calculator::Outcome;

std::wstring Decode(const std::uint8_t* data, std::size_t size) {
    std::wstring text;
    if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE) {
        for (std::size_t i = 2; i + 1 < size; i += 2) {
            text += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
        }
        return text;
    }
    static constexpr wchar_t kNumberCharacters[] = L"0123456789.-+eE0";
    for (std::size_t i = 0; i < size; ++i) {
        const std::uint8_t b = data[i];
        text += b < 0x80 ? static_cast<wchar_t>(b) : kNumberCharacters[b & 0x0F];
    }
    return text;
}

// The grammar of a number as a transition table:
//   [ "-" ] ( digits [ "." [ digits ] ] | "." digits ) [ ("E"|"e") [ "+"|"-" ] digits ]
enum State { kStart, kSign, kInteger, kBarePoint, kPoint, kFraction, kE, kExponentSign,
             kExponent, kDead, kStates };
enum Input { kDigit, kDot, kMinus, kPlus, kLetterE, kOther, kInputs };

constexpr State kNext[kStates][kInputs] = {
    //            digit      dot         minus          plus           E     other
    /* Start */  {kInteger,  kBarePoint, kSign,         kDead,         kDead, kDead},
    /* Sign */   {kInteger,  kBarePoint, kDead,         kDead,         kDead, kDead},
    /* Integer */{kInteger,  kPoint,     kDead,         kDead,         kE,    kDead},
    /* .  */     {kFraction, kDead,      kDead,         kDead,         kDead, kDead},
    /* 1. */     {kFraction, kDead,      kDead,         kDead,         kE,    kDead},
    /* 1.5 */    {kFraction, kDead,      kDead,         kDead,         kE,    kDead},
    /* E */      {kExponent, kDead,      kExponentSign, kExponentSign, kDead, kDead},
    /* E+ */     {kExponent, kDead,      kDead,         kDead,         kDead, kDead},
    /* E+5 */    {kExponent, kDead,      kDead,         kDead,         kDead, kDead},
    /* Dead */   {kDead,     kDead,      kDead,         kDead,         kDead, kDead},
};

Input Classify(wchar_t c) {
    if (c >= L'0' && c <= L'9') return kDigit;
    switch (c) {
    case L'.': return kDot;
    case L'-': return kMinus;
    case L'+': return kPlus;
    case L'E':
    case L'e': return kLetterE;
    default: return kOther;
    }
}

bool MatchesGrammar(std::wstring_view text) {
    State state = kStart;
    for (const wchar_t c : text) state = kNext[state][Classify(c)];
    return state == kInteger || state == kPoint || state == kFraction || state == kExponent;
}

// The power of ten of the leading nonzero digit of a text the grammar
// accepts, its exponent included; saturated at +-10^12, far past any double.
// Empty when no digit of the mantissa is nonzero.
std::optional<long long> LeadingPower(std::wstring_view text) {
    constexpr long long kSaturation = 1'000'000'000'000LL;
    const std::size_t e = text.find_first_of(L"Ee");
    const std::wstring_view mantissa = text.substr(0, e);
    const std::size_t first = mantissa.find_first_of(L"123456789");
    if (first == std::wstring_view::npos) return std::nullopt;
    std::size_t point = mantissa.find(L'.');
    if (point == std::wstring_view::npos) point = mantissa.size();
    // Digits between the leading one and the point (or the point and it).
    long long power = first < point ? static_cast<long long>(point - first) - 1
                                    : -static_cast<long long>(first - point);
    if (e != std::wstring_view::npos) {
        std::size_t i = e + 1;
        const bool negative = text[i] == L'-';
        if (text[i] == L'-' || text[i] == L'+') ++i;
        long long exponent = 0;
        for (; i < text.size(); ++i) {
            exponent = std::min(kSaturation, exponent * 10 + (text[i] - L'0'));
        }
        power += negative ? -exponent : exponent;
    }
    return power;
}

std::string Describe(std::wstring_view text) { return "text \"" + fuzz::Printable(text) + "\""; }

void CheckParse(std::wstring_view text, bool numeric, const std::optional<double>& parsed) {
    const std::string context = Describe(text);
    FUZZ_CHECK(numeric == MatchesGrammar(text), context);
    FUZZ_CHECK(calculator::GuardEmptiesBox(text) == !numeric, context);
    // Positive: numeric, and above zero; a value beyond the double range (see
    // below) by its sign.
    const bool positive = numeric && (parsed ? *parsed > 0 : text[0] != L'-');
    FUZZ_CHECK(calculator::IsPositiveNumber(text) == positive, context);
    if (!numeric) {
        FUZZ_CHECK(!parsed, context);
        return;
    }
    // Numeric means ASCII, so the narrow copy is the same text.
    std::string ascii;
    for (const wchar_t c : text) ascii += static_cast<char>(c);
    errno = 0;
    char* end = nullptr;
    const double expected = std::strtod(ascii.c_str(), &end);
    const bool overflow = errno == ERANGE && std::isinf(expected);
    FUZZ_CHECK(end == ascii.c_str() + ascii.size(), context);
    if (!parsed) {
        FUZZ_CHECK(overflow, context);
        const std::optional<long long> power = LeadingPower(text);
        FUZZ_CHECK(power && *power >= 308, context);
        return;
    }
    FUZZ_CHECK(!overflow, context);
    FUZZ_CHECK(*parsed == expected, context + ", parsed " + std::to_string(*parsed));
    FUZZ_CHECK(std::signbit(*parsed) == std::signbit(expected), context);
}

// The value a result text stands for, which must be a plain non-negative
// number.
double ResultValue(const std::wstring& result, const std::string& context) {
    FUZZ_CHECK(forms::IsNumeric(result), context + ", result \"" + fuzz::Printable(result) + "\"");
    FUZZ_CHECK(result[0] != L'-', context + ", result \"" + fuzz::Printable(result) + "\"");
    const std::optional<double> value = forms::ParseNumber(result);
    FUZZ_CHECK(value && *value >= 0 && std::isfinite(*value), context);
    return *value;
}

void CheckLimits(std::wstring_view text, Band band, bool numeric,
                 const std::optional<double>& parsed) {
    const std::string context =
        Describe(text) + (band == Band::TenPercent ? ", 10%" : ", 5%");
    const calculator::LimitResult result = calculator::CalculateLimits(text, band);
    FUZZ_CHECK((result.outcome == Outcome::NotNumeric) == !numeric, context);
    if (result.outcome != Outcome::Computed) {
        FUZZ_CHECK(result.limitUp.empty() && result.limitDown.empty(), context);
    }
    // The largest price whose limit-up fits a float lies above 3.09e38 for
    // either band; the float of a value below 3.0e38 is finite.
    const bool fits = parsed && std::fabs(*parsed) < 3.0e38;
    const float price = parsed ? static_cast<float>(*parsed) : 0.0f;
    switch (result.outcome) {
    case Outcome::NotNumeric:
        return;
    case Outcome::OutOfRange:
        FUZZ_CHECK(numeric && !fits, context);
        return;
    case Outcome::NotPositive:
        FUZZ_CHECK(parsed && std::isfinite(price) && !(price > 0), context);
        return;
    case Outcome::Computed:
        break;
    }
    FUZZ_CHECK(parsed && std::isfinite(price) && price > 0, context);
    FUZZ_CHECK(calculator::IsPositiveNumber(text), context);
    const double up = ResultValue(result.limitUp, context);
    const double down = ResultValue(result.limitDown, context);
    FUZZ_CHECK(up >= down, context);

    // Each limit is price * (1 +- rate) with the float rate, rounded to a
    // float, to a cent, to a float again and to seven significant digits:
    // off by at most half a cent and under 1e-6 of its value.
    const double rate = band == Band::TenPercent ? double{0.1f} : double{0.05f};
    const double exactUp = static_cast<double>(price) + rate * static_cast<double>(price);
    const double exactDown = static_cast<double>(price) - rate * static_cast<double>(price);
    const auto near = [](double written, double exact) {
        return std::fabs(written - exact) <= 0.005 * (1 + 1e-6) + 1e-6 * std::fabs(exact);
    };
    FUZZ_CHECK(near(up, exactUp),
               context + ", up " + fuzz::Printable(result.limitUp));
    FUZZ_CHECK(near(down, exactDown),
               context + ", down " + fuzz::Printable(result.limitDown));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring text = Decode(data, size);
    const bool numeric = forms::IsNumeric(text);
    const std::optional<double> parsed = forms::ParseNumber(text);
    CheckParse(text, numeric, parsed);
    CheckLimits(text, Band::TenPercent, numeric, parsed);
    CheckLimits(text, Band::FivePercent, numeric, parsed);
    return 0;
}
