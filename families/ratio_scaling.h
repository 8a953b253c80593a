// The Ruvex scaling arithmetic: the best ratio of two 16-bit integers for a
// gear ratio, and the two scaling factors that go with a unit kind.
#pragma once

#include <optional>

inline constexpr int kLargestRatioTerm = 65535;

// |x - reference| / reference * 100.
double RelativeErrorPercent(double x, double reference);

// The pair of integers up to 65535 whose quotient comes closest to
// numerator / denominator (smallest denominator among equal errors, the
// ceiling before the floor); returns the signed deviation in percent.
double ApproximateRatio(double numerator, double denominator, int* bestNumerator, int* bestDenominator);

// The scaling factors of a unit kind (819), a position unit (823) and a
// velocity unit (824) for the ratio z / m.
struct ScalingFactors {
    double Position = 0.0;  // 711
    double Velocity = 0.0;  // 712
};
// The message number that tells which selection has no row.
enum class ScalingSelectionError { None = 0, UnitKind = 118, PositionUnit = 116, VelocityUnit = 117 };
struct ScalingFactorResult {
    ScalingSelectionError Error = ScalingSelectionError::None;
    ScalingFactors Factors;
};
ScalingFactorResult ScalingFactorsFor(int unitKind, int positionUnit, int velocityUnit, double z, double m);
