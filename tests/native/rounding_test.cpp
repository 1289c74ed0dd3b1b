#include "forms_runtime/rounding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(Rounding, DecidesOnTheExactValueOfTheFloat) {
    const struct { float value; float expected; } rows[] = {
        // Exact halves: ties to even.
        {2.625f, 2.62f}, {2.375f, 2.38f}, {0.125f, 0.12f}, {-2.625f, -2.62f},
        // Near-ties: the float lies below or above the half it was typed as.
        {16.275f, 16.27f},                        // 16.27499961...
        {std::nextafter(10.395f, 0.0f), 10.39f},  // 10.39499950..., the 5% limit-up of 9.9
        {10.395f, 10.4f},                         // 10.39500045...
        {9.405f, 9.4f}, {11.495f, 11.49f}, {0.055f, 0.05f}, {0.005f, 0.0f},  // just below
        {0.135f, 0.14f}, {12.705000877f, 12.71f},                            // just above
        {123456.78125f, 123456.78125f},  // the float nearest 123456.78 again
        {std::numeric_limits<float>::max(), std::numeric_limits<float>::max()},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(forms::RoundToHundredths(row.value), row.expected) << row.value;
    }
}

}  // namespace
