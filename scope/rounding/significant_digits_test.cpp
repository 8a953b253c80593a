#include "scope/rounding/significant_digits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct RoundCase {
    double x;
    int digits;
    bool correct;
    double expected;
};

TEST(RoundToSignificantDigits, RoundsAtTheStepOfTheTruncatedExponent) {
    const RoundCase cases[] = {
        {123456.0, 5, false, 123460.0},
        {123454.0, 5, false, 123450.0},
        {0.123456, 5, false, 1235 * 1e-4},  // exponent of 0.12 truncates to 0
        {2.5, 1, false, 3.0},               // half goes up
        {-2.5, 1, false, -2.0},             // ... toward plus infinity
        {-2.6, 1, false, -3.0},
        {59.99999, 2, true, 60.0},
        {59.99999, 2, false, 60.0},
        {1000.0, 3, false, 1000.0},
        {0.0, 5, false, 0.0},
        {0.0, 1, true, 0.0},
    };
    for (const RoundCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << " to " << c.digits << (c.correct ? " corrected" : ""));
        EXPECT_DOUBLE_EQ(c.expected, RoundToSignificantDigits(c.x, c.digits, c.correct));
    }
}

TEST(RoundToSignificantDigits, LeavesWhatCannotBeRoundedUnchanged) {
    const double inf = std::numeric_limits<double>::infinity();
    const double max = std::numeric_limits<double>::max();
    const double tiny = std::numeric_limits<double>::denorm_min();
    EXPECT_EQ(inf, RoundToSignificantDigits(inf, 5));
    EXPECT_EQ(-inf, RoundToSignificantDigits(-inf, 5));
    EXPECT_TRUE(std::isnan(RoundToSignificantDigits(std::nan(""), 5)));
    EXPECT_EQ(tiny, RoundToSignificantDigits(tiny, 5));   // step underflows to 0
    EXPECT_EQ(1.5, RoundToSignificantDigits(1.5, 400));   // likewise
    EXPECT_EQ(1.5, RoundToSignificantDigits(1.5, -400));  // step overflows
    EXPECT_EQ(max, RoundToSignificantDigits(max, 1));     // 2e308 would be infinite
}

}  // namespace
