#include "forms_runtime/numeric_text.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <string>

namespace {

TEST(NumericText, AcceptsNumbers) {
    for (const wchar_t* text : {L"12", L"0", L"12.5", L".5", L"12.", L"-5", L"-.5", L"-0", L"007",
                                L"1.1E+07", L"1.1e+07", L"1E7", L"1e-5", L"5.e3", L".5E-1", L"-1E+99"}) {
        EXPECT_TRUE(forms::IsNumeric(text)) << text;
    }
}

TEST(NumericText, RejectsEverythingElseAndParsesNothingOfIt) {
    for (const wchar_t* text :
         {L"", L".", L"-", L"-.", L"1..2", L"1.2.3", L"11a", L"a11", L" 12", L"12 ", L"1 2", L"+5",
          L"--5", L"1,000", L"$5", L"5\u20AC", L"&H10", L"0x10", L"inf", L"nan", L"Infinity", L"1e",
          L"1e+", L"E5", L".e5", L"1e5.5", L"1e5e5", L"1d5", L"\uFF11\uFF12", L"1\u00B2", L"1\t",
          L"5-", L"1-2", L"\u0661"}) {
        EXPECT_FALSE(forms::IsNumeric(text)) << text;
        EXPECT_FALSE(forms::ParseNumber(text).has_value()) << text;
    }
}

TEST(NumericText, ParsesToTheNearestDouble) {
    const struct { const wchar_t* text; double value; } rows[] = {
        {L"012.10", 12.1},
        {L".5", 0.5},
        {L"5.", 5.0},
        {L"-.5", -0.5},
        {L"1.1E+07", 11000000.0},
        {L"1.1e7", 11000000.0},
        {L"25E-1", 2.5},
        {L"0.1", 0.1},
        {L"1e-50", 1e-50},
        {L"1e-400", 0.0},  // below the smallest double: rounds to zero
        {L"1.7976931348623158e308", std::numeric_limits<double>::max()},
        {L"9007199254740993", 9007199254740992.0},  // a tie, to even
        {L"9007199254740993.00000000000000000001", 9007199254740994.0},
        {L"9007199254740995", 9007199254740996.0},
        {L"2.2250738585072011e-308", 2.2250738585072009e-308},
        // Products of digits and a power of ten that miss the nearest double
        // when rounded first to extended precision and then to double.
        {L"7091431314788835e5", 0x1.338ab4070797dp+69},
        {L"7389474860498631E+6", 0x1.9095906a81fc1p+72},
        {L"20005390003117.59e10", 0x1.52e78c991aec9p+77},
    };
    for (const auto& row : rows) {
        const auto value = forms::ParseNumber(row.text);
        ASSERT_TRUE(value.has_value()) << row.text;
        EXPECT_EQ(*value, row.value) << row.text;
    }
    const auto negativeZero = forms::ParseNumber(L"-0");
    ASSERT_TRUE(negativeZero.has_value());
    EXPECT_TRUE(*negativeZero == 0.0 && std::signbit(*negativeZero));
}

TEST(NumericText, BeyondTheDoubleRangeParsesToNothing) {
    for (const std::wstring& text :
         {std::wstring(L"1e400"), std::wstring(L"-1e400"), std::wstring(L"1.7976931348623159e308"),
          std::wstring(400, L'9'), L"1e" + std::wstring(1000, L'9')}) {
        EXPECT_TRUE(forms::IsNumeric(text));
        EXPECT_FALSE(forms::ParseNumber(text).has_value()) << text.substr(0, 30);
    }
}

TEST(NumericText, LongTextsRoundCorrectlyInLinearTime) {
    const std::wstring zeros(1'000'000, L'0');
    const struct { std::wstring text; double value; } rows[] = {
        {L"0." + std::wstring(1'000'000, L'3'), 1.0 / 3.0},
        {L"1" + zeros + L"e-1000000", 1.0},
        {L"0." + zeros + L"1e1000000", 0.1},
        // Only the very last digit lifts the tie between two doubles.
        {L"9007199254740993." + zeros, 9007199254740992.0},
        {L"9007199254740993." + zeros + L"1", 9007199254740994.0},
    };
    const auto start = std::chrono::steady_clock::now();
    for (const auto& row : rows) {
        const auto value = forms::ParseNumber(row.text);
        ASSERT_TRUE(value.has_value());
        EXPECT_EQ(*value, row.value) << row.text.substr(0, 30);
    }
    // Quadratic work on a megabyte would take hours.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

}  // namespace
