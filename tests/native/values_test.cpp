// The portable engine, built natively with the sanitizers and as 32-bit x86 code with the program's own
// floating-point flags.
#include <gtest/gtest.h>

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

namespace {

using calculator::Band, calculator::Outcome;
constexpr Band k10 = Band::TenPercent, k5 = Band::FivePercent;

TEST(NumericText, AcceptsNumbers) {
    for (const wchar_t* text :
         {L"0", L"12.5", L".5", L"12.", L"-5", L"-.5", L"007", L"1.1E+07", L"1.1e+07", L"1E7", L"1e-5", L"5.e3"}) {
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
// which discards it. Here the neighbours of the digits and a letter numbers use; signs, other letters, Ctrl+V and
// characters beyond ASCII are typed end to end.
TEST(PriceKeys, PassBackspaceThePointAndDigitsOnly) {
    const std::pair<std::int16_t, std::int16_t> keys[] = {
        {8, 8}, {'.', '.'}, {'0', '0'}, {'9', '9'}, {'/', 0}, {':', 0}, {'e', 0},
    };
    for (const auto& [typed, passed] : keys)
        EXPECT_EQ(calculator::FilterPriceKey(typed), passed) << typed;
}

// The fuzz checks, replayed below, compare every corpus text's reading with the C library's; these lie beyond them.
TEST(ParseNumber, GivesTheNearestDoubleOrNoneBeyondTheRange) {
    const std::pair<std::wstring, std::optional<double>> rows[] = {
        {L"0." + std::wstring(10000, L'3'), 1.0 / 3.0},
        {L"1e400", std::nullopt},
        // Beyond a double by the digits, not by the exponent, whose sign says the other way.
        {L"0." + std::wstring(400, L'0') + L"1e5", 0.0},
        {L"1" + std::wstring(400, L'0') + L"e-5", std::nullopt},
    };
    for (const auto& [text, value] : rows) {
        EXPECT_TRUE(numbers::IsNumeric(text)) << text.substr(0, 20);
        EXPECT_EQ(numbers::ParseNumber(text), value) << text.substr(0, 20);
    }
}

// The last four: two ties to even, a value rounded up to the next power of ten, and the smallest float, a denormal.
TEST(NumberText, WritesSevenSignificantDigits) {
    const std::pair<float, const wchar_t*> rows[] = {
        {0.05f, L"0.05"},          {1.0f / 3.0f, L"0.3333333"}, {9999999.0f, L"9999999"},
        {1e7f, L"1E+07"},          {1.1e7f, L"1.1E+07"},        {12345678.0f, L"1.234568E+07"},
        {1234567.5f, L"1234568"},  {100000.25f, L"100000.2"},   {9.99999950273831e-33f, L"1E-32"},
        {1e-45f, L"1.401298E-45"},
    };
    for (const auto& [value, text] : rows)
        EXPECT_EQ(numbers::SingleToText(value), text) << value;
}

// Beside the prices calculated end to end: 2.5's limits are 2.625 and 2.375 exactly, halves that go to the even
// hundredth; 15.5's limit-up is 16.27499961... as a float, which goes down; 12.1's are missed by the rate applied in
// single precision, or as 0.05 exactly, or to the price's double; 0.001's round to 0.
TEST(LimitCalculation, WritesBothLimitsRoundedToHundredths) {
    const std::tuple<std::wstring, Band, const wchar_t*, const wchar_t*> rows[] = {
        {L"2.5", k5, L"2.62", L"2.38"},
        {L"15.5", k5, L"16.27", L"14.73"},
        {L"12.1", k5, L"12.71", L"11.49"},
        {L"0.001", k10, L"0", L"0"},
        // The largest prices whose limit-up still fits a float: FLT_MAX.
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
        // The prices just past the largest above.
        {L"3.0934761551103933e+38", k10, Outcome::OutOfRange},
        {L"3.240784456524371e+38", k5, Outcome::OutOfRange},
        {L"1e400", k5, Outcome::OutOfRange},  // beyond a double
        {L"-5", k10, Outcome::NotPositive},
        {L"1e-50", k10, Outcome::NotPositive},  // positive, but zero as a float
    };
    for (const auto& [price, band, outcome] : rows)
        EXPECT_EQ(calculator::CalculateLimits(price, band).outcome, outcome) << price.substr(0, 30);
}

// What the carry-forward and the copy ask of a result's text: its double, not its float, above zero.
TEST(PositiveNumber, TestsTheDoubleNotTheFloat) {
    const std::pair<std::wstring, bool> rows[] = {
        {L"1e-50", true}, {L"-1", false}, {L"1e-400", false}, {L"abc", false}, {L"-1e400", false},
    };
    for (const auto& [text, positive] : rows)
        EXPECT_EQ(calculator::IsPositiveNumber(text), positive) << text.substr(0, 30);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern const char* g_fuzzInputName;  // named by a broken check

// Every input the fuzzer was seeded with or found worth keeping; a broken check aborts, printing it and the file.
// The corpus is the checkout's, or TAVIREL_CORPUS's where the program runs on another machine than it was built on.
TEST(FuzzCorpus, EveryInputKeepsTheChecks) {
    const char* corpus = std::getenv("TAVIREL_CORPUS");
    int replayed = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(corpus ? corpus : TAVIREL_CORPUS)) {
        if (!entry.is_regular_file())
            continue;
        const std::string name = entry.path().string();
        g_fuzzInputName = name.c_str();
        std::ifstream file(entry.path(), std::ios::binary);
        const std::vector<char> bytes{std::istreambuf_iterator<char>(file), {}};
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        ++replayed;
    }
    g_fuzzInputName = nullptr;
    EXPECT_GT(replayed, 50);
}
