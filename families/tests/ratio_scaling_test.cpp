// The ratio approximation and the scaling factor table of the Ruvex drives.
#include "families/ratio_scaling.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct RatioCase {
    double Numerator;
    double Denominator;
    int Z;
    int M;
    double Deviation;
    double Tolerance;  // 0: exact
};

TEST(ApproximateRatioTest, BestPairAndSignedDeviation) {
    const double pi = 3.14159265358979323846;
    const RatioCase cases[] = {
        {1, 2, 1, 2, 0.0, 0.0},
        {1, 3, 1, 3, 0.0, 0.0},
        {6, 4, 3, 2, 0.0, 0.0},
        {196608, 1, 65535, 1, -66.66717529296875, 0.0},
        {1e-5, 1, 1, 65535, 52.59, 0.005},
        {pi, 1, 65298, 20785, -5.06e-6, 0.005e-6},
        {65535.5, 1, 65535, 1, (65535 - 65535.5) / 65535.5 * 100, 0.0},
        {65535, 1, 65535, 1, 0.0, 0.0},
    };
    for (const RatioCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Numerator << " / " << c.Denominator);
        int z = -1;
        int m = -1;
        const double deviation = ApproximateRatio(c.Numerator, c.Denominator, &z, &m);
        EXPECT_EQ(z, c.Z);
        EXPECT_EQ(m, c.M);
        if (c.Tolerance == 0.0) {
            EXPECT_EQ(deviation, c.Deviation);
        } else {
            EXPECT_NEAR(deviation, c.Deviation, c.Tolerance);
        }
    }
}

TEST(ApproximateRatioTest, RelativeErrorIsTheMagnitude) {
    EXPECT_EQ(RelativeErrorPercent(1.5, 2.0), 25.0);
    EXPECT_EQ(RelativeErrorPercent(2.5, 2.0), 25.0);
    EXPECT_EQ(RelativeErrorPercent(2.0, 2.0), 0.0);
    int z = 0;
    int m = 0;
    EXPECT_EQ(std::fabs(ApproximateRatio(196608, 1, &z, &m)), RelativeErrorPercent(65535.0, 196608.0));
}

struct FactorCase {
    int Kind;
    int Position;
    int Velocity;
    ScalingSelectionError Error;
    double F711;
    double F712;
};

TEST(ScalingFactorsTest, RowsByUnitKindAndTheirErrors) {
    const double z = 3;
    const double m = 7;
    const FactorCase cases[] = {
        {0, 0, 0, ScalingSelectionError::None, 0.001, 1e-6},
        {0, 6, 6, ScalingSelectionError::None, 1.0922666666666667, 0.0010922666666666667},
        {1, 2, 6, ScalingSelectionError::None, z / m, 0.0010922666666666667},
        {1, 1, 2, ScalingSelectionError::None, z / (m * 1000), z / (m * 1000)},
        {2, 1, 2, ScalingSelectionError::None, z / (m * 1e6), z / (m * 1e6)},
        {3, 4, 4, ScalingSelectionError::None, z * 180 / (m * 3141.592653589793), z * 180 / (m * 3141592.653589793)},
        {3, 6, 5, ScalingSelectionError::None, z * 360 / (m * 60000), z * 360 / (m * 1e6)},
        {4, 4, 7, ScalingSelectionError::None, z * 10800 / (m * 3141.592653589793), z / (m * 1e6)},
        {4, 5, 6, ScalingSelectionError::None, z * 21600 / (m * 1000), z * 360 / (m * 1e6)},
        // 819 out of range first, then 823, then 824.
        {5, 9, 9, ScalingSelectionError::UnitKind, 0, 0},
        {-1, 0, 0, ScalingSelectionError::UnitKind, 0, 0},
        {1, 3, 9, ScalingSelectionError::PositionUnit, 0, 0},
        {1, 1, 3, ScalingSelectionError::VelocityUnit, 0, 0},
        {0, 1, 0, ScalingSelectionError::PositionUnit, 0, 0},
    };
    for (const FactorCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Kind << "/" << c.Position << "/" << c.Velocity);
        const ScalingFactorResult result = ScalingFactorsFor(c.Kind, c.Position, c.Velocity, z, m);
        EXPECT_EQ(result.Error, c.Error);
        if (c.Error != ScalingSelectionError::None) continue;
        EXPECT_EQ(result.Factors.Position, c.F711);
        EXPECT_EQ(result.Factors.Velocity, c.F712);
    }
    EXPECT_EQ(static_cast<int>(ScalingSelectionError::PositionUnit), 116);
    EXPECT_EQ(static_cast<int>(ScalingSelectionError::VelocityUnit), 117);
    EXPECT_EQ(static_cast<int>(ScalingSelectionError::UnitKind), 118);
}

}  // namespace
