#include "calculator/limit_calculation.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using calculator::Band;
using calculator::CalculateLimits;
using calculator::Outcome;

constexpr Band k10 = Band::TenPercent;
constexpr Band k5 = Band::FivePercent;

TEST(LimitCalculation, ComputesBothLimits) {
    const struct { const wchar_t* price; Band band; const wchar_t* up; const wchar_t* down; } rows[] = {
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
        // A limit carried forward as the next price.
        {L"11", k10, L"12.1", L"9.9"},
        {L"9.9", k10, L"10.89", L"8.91"},
        {L"1.1E+07", k10, L"1.21E+07", L"9900000"},
        {L"010.", k10, L"11", L"9"},
        // The largest prices whose limit-up still fits a float.
        {L"3.0934759522862973e+38", k10, L"3.402823E+38", L"2.784128E+38"},
        {L"3.240784253700275e+38", k5, L"3.402823E+38", L"3.078745E+38"},
    };
    for (const auto& row : rows) {
        const auto result = CalculateLimits(row.price, row.band);
        EXPECT_EQ(result.outcome, Outcome::Computed) << row.price;
        EXPECT_EQ(result.limitUp, row.up) << row.price;
        EXPECT_EQ(result.limitDown, row.down) << row.price;
    }
}

TEST(LimitCalculation, RefusesWhatItCannotCompute) {
    const struct { std::wstring price; Band band; Outcome outcome; } rows[] = {
        {L"", k10, Outcome::NotNumeric}, {L"1..2", k10, Outcome::NotNumeric},
        {L".", k5, Outcome::NotNumeric}, {L"1 0", k10, Outcome::NotNumeric},
        {L"0", k10, Outcome::NotPositive}, {L"0.00", k5, Outcome::NotPositive},
        {L"-5", k10, Outcome::NotPositive}, {L"-0", k10, Outcome::NotPositive},
        {L"1e-50", k10, Outcome::NotPositive},  // positive, but zero as a float
        {L"1" + std::wstring(39, L'0'), k10, Outcome::OutOfRange},
        {L"1e400", k5, Outcome::OutOfRange}, {L"3.5e38", k5, Outcome::OutOfRange},
        // The price fits a float, its limit-up does not.
        {L"3.0934761551103933e+38", k10, Outcome::OutOfRange}, {L"3.1e38", k10, Outcome::OutOfRange},
        {L"3.240784456524371e+38", k5, Outcome::OutOfRange}, {L"3.25e38", k5, Outcome::OutOfRange},
    };
    for (const auto& row : rows) {
        const auto result = CalculateLimits(row.price, row.band);
        EXPECT_EQ(result.outcome, row.outcome) << row.price;
        EXPECT_TRUE(result.limitUp.empty() && result.limitDown.empty()) << row.price;
    }
}

TEST(LimitCalculation, PositiveNumberUsesTheDoubleValue) {
    const struct { std::wstring text; bool positive; } rows[] = {
        {L"12.1", true}, {L"012.10", true}, {L"0.001", true}, {L"1e-50", true}, {L"1.1E+07", true},
        {L"0", false}, {L"", false}, {L"-1", false}, {L"-0", false}, {L"1e-400", false},
        {L"abc", false}, {L"1e400", true}, {L"-1e400", false}, {L"9" + std::wstring(400, L'9'), true},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(calculator::IsPositiveNumber(row.text), row.positive) << row.text;
    }
}

}  // namespace
