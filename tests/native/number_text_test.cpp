#include "forms_runtime/number_text.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(NumberText, WritesSevenSignificantDigits) {
    using limits = std::numeric_limits<float>;
    const struct { float value; const wchar_t* text; } rows[] = {
        {0.0f, L"0"}, {-0.0f, L"0"}, {3.0f, L"3"}, {10.5f, L"10.5"}, {-2.38f, L"-2.38"},
        {0.05f, L"0.05"}, {1.0f / 3.0f, L"0.3333333"}, {99999.99f, L"99999.99"},
        {100000.0f, L"100000"}, {123456.78f, L"123456.8"}, {135802.5f, L"135802.5"},
        {999999.9f, L"999999.9"}, {1e6f, L"1000000"}, {9999999.0f, L"9999999"},
        {999999.96875f, L"1000000"},  // rounds up into the next power
        {0.0001f, L"0.0001"},         // the float lies below 10^-4; rounding lifts it
        {0.00012345678f, L"0.0001234568"},
        // Exponent form from 10^7 on and below 10^-4.
        {1e7f, L"1E+07"}, {1.1e7f, L"1.1E+07"}, {-1.1e7f, L"-1.1E+07"},
        {12345678.0f, L"1.234568E+07"}, {999999930368.0f, L"9.999999E+11"},
        {999999995904.0f, L"1E+12"}, {limits::max(), L"3.402823E+38"}, {1e-5f, L"1E-05"},
        {-0.000012345678f, L"-1.234568E-05"}, {limits::denorm_min(), L"1.401298E-45"},
        // Exact ties at the eighth digit go to the even seventh.
        {1234567.5f, L"1234568"}, {1234566.5f, L"1234566"}, {12345675.0f, L"1.234568E+07"},
        {12345665.0f, L"1.234566E+07"}, {100000.25f, L"100000.2"}, {100000.75f, L"100000.8"},
        {1.0078125f, L"1.007812"},
        {1.00000250339508056640625f, L"1.000003"},  // 5 then 0, then more: above the half
        // Never produced by the program, but defined.
        {limits::infinity(), L"Infinity"}, {-limits::infinity(), L"-Infinity"},
        {limits::quiet_NaN(), L"NaN"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(forms::SingleToText(row.value), row.text) << row.value;
    }
}

}  // namespace
