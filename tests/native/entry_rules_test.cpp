#include "calculator/entry_rules.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

TEST(EntryRules, PriceKeyPassesOnlyDigitsPointAndBackspace) {
    const struct { std::int16_t code; std::int16_t passed; } rows[] = {
        {8, 8}, {46, 46}, {48, 48}, {53, 53}, {57, 57},
        {47, 0}, {58, 0}, {45, 0}, {44, 0}, {43, 0}, {32, 0}, {69, 0}, {101, 0},
        {127, 0}, {128, 0}, {0x0661, 0}, {-1, 0}, {-32768, 0}, {32767, 0},
        {0, 0}, {3, 0}, {7, 0}, {9, 0}, {13, 0}, {22, 0}, {24, 0}, {26, 0}, {27, 0},
        {-32768 + 48, 0}, {256 + 48, 0},  // only the low byte would read as a digit
    };
    for (const auto& row : rows) {
        EXPECT_EQ(calculator::FilterPriceKey(row.code), row.passed) << row.code;
    }
}

TEST(EntryRules, GuardEmptiesABoxWithoutANumber) {
    const struct { const wchar_t* text; bool empties; } rows[] = {
        {L"", true}, {L"abc", true}, {L"1..2", true}, {L" 11", true}, {L".", true},
        {L"11", false}, {L"10.39", false}, {L"1.1E+07", false}, {L"0", false}, {L"-5", false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(calculator::GuardEmptiesBox(row.text), row.empties) << row.text;
    }
}

}  // namespace
