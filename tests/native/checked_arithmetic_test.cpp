#include "forms_runtime/checked_arithmetic.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>

#include "forms_runtime/runtime_error.h"

namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

// The error number fn raises, or 0 when it raises none.
int Raised(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const forms::RuntimeError& error) {
        return static_cast<int>(error.Number());
    }
    return 0;
}

TEST(CheckedArithmetic, AddAndSubtractAtTheInt32Bounds) {
    const struct { std::int32_t a, b; bool add; std::int32_t result; bool overflows; } rows[] = {
        {kMax, 0, true, kMax, false},  {kMax, 1, true, 0, true},
        {kMin, -1, true, 0, true},     {kMin, kMax, true, -1, false},
        {kMin, 1, false, 0, true},     {kMin, 0, false, kMin, false},
        {kMax, -1, false, 0, true},    {-1, kMin, false, kMax, false},
        {0, kMin, false, 0, true},     {5, 7, false, -2, false},
    };
    for (const auto& row : rows) {
        std::int32_t result = 0;
        const int error = Raised([&] {
            result = row.add ? forms::CheckedAdd(row.a, row.b) : forms::CheckedSub(row.a, row.b);
        });
        EXPECT_EQ(error, row.overflows ? 6 : 0) << row.a << (row.add ? " + " : " - ") << row.b;
        if (!row.overflows) {
            EXPECT_EQ(result, row.result);
        }
    }
}

TEST(CheckedArithmetic, ToInt32RoundsToEvenAndRangeChecks) {
    const struct { double value; std::int32_t result; bool overflows; } rows[] = {
        {2147483647.0, kMax, false}, {2147483648.0, 0, true},  {2147483647.5, 0, true},
        {-2147483648.0, kMin, false}, {-2147483648.5, kMin, false}, {-2147483649.0, 0, true},
        {2.5, 2, false}, {3.5, 4, false}, {-2.5, -2, false}, {2.4999, 2, false},
        {std::numeric_limits<double>::quiet_NaN(), 0, true},
        {std::numeric_limits<double>::infinity(), 0, true},
    };
    for (const auto& row : rows) {
        std::int32_t result = 0;
        const int error = Raised([&] { result = forms::CheckedToInt32(row.value); });
        EXPECT_EQ(error, row.overflows ? 6 : 0) << row.value;
        if (!row.overflows) {
            EXPECT_EQ(result, row.result) << row.value;
        }
    }
}

TEST(CheckedArithmetic, FloatingPointFaultsRaiseTheirErrors) {
    volatile double zero = 0.0;
    volatile double large = std::numeric_limits<double>::max();
    const struct { std::function<double()> operation; int error; } rows[] = {
        {[&] { return 1.0 / zero; }, 11},
        {[&] { return large * 2.0; }, 6},
        {[&] { return zero / zero; }, 5},  // cppcheck-suppress duplicateExpression ; 0 / 0 on purpose
        {[&] { return large / 2.0; }, 0},
    };
    for (const auto& row : rows) {
        forms::ClearFloatingPointStatus();
        volatile double sink = row.operation();
        (void)sink;
        EXPECT_EQ(Raised([] { forms::RaiseOnFloatingPointFault(); }), row.error);
    }
}

TEST(RuntimeError, UntrappedMessage) {
    EXPECT_EQ(forms::UntrappedErrorMessage(forms::RuntimeError(forms::ErrorNumber::Overflow)),
              L"Run-time error '6':\n\nOverflow");
    EXPECT_EQ(forms::UntrappedErrorMessage(forms::RuntimeError(forms::ErrorNumber::DivisionByZero)),
              L"Run-time error '11':\n\nDivision by zero");
}

}  // namespace
