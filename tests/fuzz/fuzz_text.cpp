// What the program does with any text typed or pasted into a box: checked by libFuzzer in the stress run, and over
// tests/fuzz/corpus in every test run. FF FE starts UTF-16LE units (lone surrogates too); else a byte below 0x80 is
// that character, a higher one a character of numbers. Four bytes are also a float, the value a result's text is
// made from.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "calculator/limit_calculation.h"
#include "numbers/number_text.h"
#include "numbers/numeric_text.h"
#include "numbers/rounding.h"

// The file fed, when the corpus replay feeds it; libFuzzer prints and saves what it feeds itself.
extern const char* g_fuzzInputName;
const char* g_fuzzInputName = nullptr;

namespace {

// A broken check aborts, naming itself and the file fed.
void Check(bool holds, const char* what) {
    if (holds)
        return;
    std::fprintf(stderr, "broken: %s (%s)\n", what, g_fuzzInputName ? g_fuzzInputName : "fed by libFuzzer");
    std::abort();
}

std::wstring Decode(const std::uint8_t* data, std::size_t size) {
    std::wstring text;
    if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE) {
        for (std::size_t i = 2; i + 1 < size; i += 2)
            text += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
        return text;
    }
    static constexpr wchar_t kNumberCharacters[] = L"0123456789.-+eE0";
    for (std::size_t i = 0; i < size; ++i)
        text += data[i] < 0x80 ? wchar_t(data[i]) : kNumberCharacters[data[i] & 15];
    return text;
}

double ParseOrZero(const std::wstring& text) {
    return numbers::ParseNumber(text).value_or(0.0);
}

void CheckCalculation(const std::wstring& text, calculator::Band band) {
    const auto result = calculator::CalculateLimits(text, band);
    Check((result.outcome == calculator::Outcome::NotNumeric) == !numbers::IsNumeric(text),
          "exactly the texts that are no number are refused as such");
    if (result.outcome != calculator::Outcome::Computed) {
        Check(result.limitUp.empty() && result.limitDown.empty(), "a refusal writes neither limit");
        return;
    }
    const double price = static_cast<float>(ParseOrZero(text));
    const double rate = band == calculator::Band::TenPercent ? 0.1 : 0.05;
    const double up = ParseOrZero(result.limitUp), down = ParseOrZero(result.limitDown);
    Check(numbers::IsNumeric(result.limitUp) && numbers::IsNumeric(result.limitDown), "both limits are numbers");
    Check(up >= down && down >= 0, "the limit-up is above the limit-down, which is not below 0");
    Check(std::fabs(up - price * (1 + rate)) <= 0.006 + up * 1e-6, "the limit-up within a cent");
    Check(std::fabs(down - price * (1 - rate)) <= 0.006 + down * 1e-6, "the limit-down within a cent");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring text = Decode(data, size);
    const auto parsed = numbers::ParseNumber(text);
    if (parsed && text.size() < 4096) {
        // The C library's reading of the same (ASCII) text is the nearest double too.
        const std::string ascii(text.begin(), text.end());
        const double expected = std::strtod(ascii.c_str(), nullptr);
        Check(*parsed == expected, "read as the nearest double");
        Check(std::signbit(*parsed) == std::signbit(expected), "read with its sign");
    }
    CheckCalculation(text, calculator::Band::TenPercent);
    CheckCalculation(text, calculator::Band::FivePercent);
    float value = 0;
    if (size == sizeof value)
        std::memcpy(&value, data, sizeof value);
    if (size == sizeof value && std::isfinite(value)) {
        const float rounded = numbers::RoundToHundredths(value);
        const std::wstring written = numbers::SingleToText(rounded);
        Check(std::fabs(rounded - value) <= 0.005 + std::fabs(value) * 1e-7, "rounded by half a cent at most");
        Check(numbers::IsNumeric(written), "a rounded value is written as a number");
        Check(std::fabs(ParseOrZero(written) - rounded) <= std::fabs(rounded) * 5e-7 + 1e-45,
              "seven significant digits");
    }
    return 0;
}
