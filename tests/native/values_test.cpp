// The portable engine, built natively with the sanitizers and as 32-bit x86 code with the program's own
// floating-point flags.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "calculator/entry_rules.h"
#include "calculator/limit_calculation.h"
#include "numbers/number_text.h"
#include "numbers/numeric_text.h"
#include "numbers/rounding.h"

namespace {

using calculator::Band, calculator::Outcome;
constexpr Band k10 = Band::TenPercent, k5 = Band::FivePercent;

TEST(NumericText, AcceptsNumbers) {
    for (const wchar_t* text : {L"12", L"0", L"12.5", L".5", L"12.", L"-5", L"-.5", L"007", L"1.1E+07", L"1.1e+07",
                                L"1E7", L"1e-5", L"5.e3"}) {
        EXPECT_TRUE(numbers::IsNumeric(text)) << text;
    }
}

TEST(NumericText, RefusesWhatIsNoNumber) {
    for (const wchar_t* text : {L"",    L".",     L"-",     L"1..2",         L"11a",     L" 12",    L"12 ", L"+5",
                                L"--5", L"1,000", L"$5",    L"&H10",         L"0x10",    L"inf",    L"nan", L"1e",
                                L"1e+", L"E5",    L"1e5.5", L"\uFF11\uFF12", L"1\u00B2", L"\u0661", L"5-"}) {
        EXPECT_FALSE(numbers::IsNumeric(text)) << text;
    }
}

// What reaches the price box of a character typed into it (KeyAscii): backspace, the point and the digits, else 0,
// which discards it.
TEST(PriceKeys, PassBackspaceThePointAndDigitsOnly) {
    const std::pair<std::int16_t, std::int16_t> keys[] = {
        {8, 8},   {'.', '.'}, {'0', '0'}, {'9', '9'},      {'/', 0},    {':', 0},
        {'-', 0}, {'e', 0},   {22, 0},    {-32767 - 1, 0}, {0x7FFF, 0}, {0x0661, 0},
    };
    for (const auto& [typed, passed] : keys)
        EXPECT_EQ(calculator::FilterPriceKey(typed), passed) << typed;
}

// The fuzz checks, replayed below, compare every corpus text's reading with the C library's; these lie beyond them.
TEST(ParseNumber, GivesTheNearestDoubleOrNoneBeyondTheRange) {
    const std::pair<std::wstring, std::optional<double>> rows[] = {
        {L"0." + std::wstring(10000, L'3'), 1.0 / 3.0},
        {L"1e400", std::nullopt},
        {std::wstring(400, L'9'), std::nullopt},
        // Beyond a double by the digits, not by the exponent, whose sign says the other way.
        {L"0." + std::wstring(400, L'0') + L"1e5", 0.0},
        {L"1" + std::wstring(400, L'0') + L"e-5", std::nullopt},
    };
    for (const auto& [text, value] : rows) {
        EXPECT_TRUE(numbers::IsNumeric(text)) << text.substr(0, 20);
        EXPECT_EQ(numbers::ParseNumber(text), value) << text.substr(0, 20);
    }
}

// Exact halves go to the even hundredth; 16.275f is 16.27499961..., so it goes down.
TEST(Rounding, DecidesOnTheExactFloatWithTiesToEven) {
    const std::pair<float, float> rows[] = {
        {2.625f, 2.62f},
        {2.375f, 2.38f},
        {0.125f, 0.12f},
        {16.275f, 16.27f},
        {std::nextafter(10.395f, 0.0f), 10.39f},
        {10.395f, 10.4f},
        {11.495f, 11.49f},
        {0.055f, 0.05f},
        {0.005f, 0.0f},
        {0.135f, 0.14f},
        {FLT_MAX, FLT_MAX},
        {INFINITY, INFINITY},
    };
    for (const auto& [value, rounded] : rows)
        EXPECT_EQ(numbers::RoundToHundredths(value), rounded) << value;
}

// The last five: three ties to even, a value rounded up to the next power of ten, and the smallest float, a denormal.
TEST(NumberText, WritesSevenSignificantDigits) {
    const std::pair<float, const wchar_t*> rows[] = {
        {0.0f, L"0"},
        {3.0f, L"3"},
        {10.5f, L"10.5"},
        {0.05f, L"0.05"},
        {1.0f / 3.0f, L"0.3333333"},
        {123456.78f, L"123456.8"},
        {999999.96875f, L"1000000"},
        {9999999.0f, L"9999999"},
        {1e7f, L"1E+07"},
        {1.1e7f, L"1.1E+07"},
        {12345678.0f, L"1.234568E+07"},
        {FLT_MAX, L"3.402823E+38"},
        {1234567.5f, L"1234568"},
        {1234566.5f, L"1234566"},
        {100000.25f, L"100000.2"},
        {9.99999950273831e-33f, L"1E-32"},
        {1e-45f, L"1.401298E-45"},
    };
    for (const auto& [value, text] : rows)
        EXPECT_EQ(numbers::SingleToText(value), text) << value;
}

TEST(LimitCalculation, WritesBothLimitsRoundedToHundredths) {
    const std::tuple<std::wstring, Band, const wchar_t*, const wchar_t*> rows[] = {
        {L"10", k10, L"11", L"9"},
        {L"10", k5, L"10.5", L"9.5"},
        {L"3.33", k10, L"3.66", L"3"},
        {L"2.5", k5, L"2.62", L"2.38"},
        {L"15.5", k5, L"16.27", L"14.73"},
        {L"9.9", k5, L"10.39", L"9.4"},
        {L"12.1", k5, L"12.71", L"11.49"},
        {L"0.05", k10, L"0.05", L"0.05"},
        {L"0.001", k10, L"0", L"0"},
        {L"123456.78", k10, L"135802.5", L"111111.1"},
        {L"10000000", k10, L"1.1E+07", L"9000000"},
        {L"11", k10, L"12.1", L"9.9"},
        {L"9.9", k10, L"10.89", L"8.91"},
        {L"1.1E+07", k10, L"1.21E+07", L"9900000"},
        {L"012.10", k10, L"13.31", L"10.89"},
        // The largest prices whose limit-up still fits a float.
        {L"3.0934759522862973e+38", k10, L"3.402823E+38", L"2.784128E+38"},
        {L"3.240784253700275e+38", k5, L"3.402823E+38", L"3.078745E+38"},
    };
    for (const auto& [price, band, up, down] : rows) {
        SCOPED_TRACE(price);
        const auto result = calculator::CalculateLimits(price, band);
        EXPECT_EQ(result.outcome, Outcome::Computed);
        EXPECT_EQ(result.limitUp, up);
        EXPECT_EQ(result.limitDown, down);
    }
}

TEST(LimitCalculation, RefusesWhatItCannotCalculate) {
    const std::tuple<std::wstring, Band, Outcome> rows[] = {
        // The prices just past the largest above, and further.
        {L"3.0934761551103933e+38", k10, Outcome::OutOfRange},
        {L"3.240784456524371e+38", k5, Outcome::OutOfRange},
        {L"1" + std::wstring(39, L'0'), k10, Outcome::OutOfRange},
        {L"1e400", k5, Outcome::OutOfRange},
        {L"", k10, Outcome::NotNumeric},
        {L"1..2", k10, Outcome::NotNumeric},
        {L".", k5, Outcome::NotNumeric},
        {L"0", k10, Outcome::NotPositive},
        {L"0.00", k5, Outcome::NotPositive},
        {L"-5", k10, Outcome::NotPositive},
        {L"1e-50", k10, Outcome::NotPositive},  // positive, but zero as a float
    };
    for (const auto& [price, band, outcome] : rows)
        EXPECT_EQ(calculator::CalculateLimits(price, band).outcome, outcome) << price.substr(0, 30);
}

// What the carry-forward and the copy ask of a result's text: its double, not its float, above zero.
TEST(PositiveNumber, TestsTheDoubleNotTheFloat) {
    const std::pair<std::wstring, bool> rows[] = {
        {L"012.10", true}, {L"1e-50", true},   {L"1.1E+07", true}, {L"9" + std::wstring(400, L'9'), true},
        {L"0", false},     {L"", false},       {L"-1", false},     {L"1e-400", false},
        {L"abc", false},   {L"-1e400", false},
    };
    for (const auto& [text, positive] : rows)
        EXPECT_EQ(calculator::IsPositiveNumber(text), positive) << text.substr(0, 30);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

// Every input the fuzzer was seeded with or found worth keeping; a broken check aborts, printing it and the input.
// The corpus is the checkout's, or TAVIREL_CORPUS's where the program runs on another machine than it was built on.
TEST(FuzzCorpus, EveryInputKeepsTheChecks) {
    const char* corpus = std::getenv("TAVIREL_CORPUS");
    int replayed = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(corpus ? corpus : TAVIREL_CORPUS)) {
        if (!entry.is_regular_file())
            continue;
        std::ifstream file(entry.path(), std::ios::binary);
        const std::vector<char> bytes{std::istreambuf_iterator<char>(file), {}};
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        ++replayed;
    }
    EXPECT_GT(replayed, 50);
}
