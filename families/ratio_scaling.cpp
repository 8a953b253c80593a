#include "families/ratio_scaling.h"

#include <cmath>
#include <iterator>

double RelativeErrorPercent(double x, double reference) { return std::fabs((x - reference) / reference * 100.0); }

double ApproximateRatio(double numerator, double denominator, int* bestNumerator, int* bestDenominator) {
    const double ratio = numerator / denominator;
    const double largest = kLargestRatioTerm;
    double bestZ = largest;
    double bestM = 1.0;
    if (ratio < 1.0 / largest) {
        bestZ = 1.0;
        bestM = largest;
    } else {
        bool taken = false;
        double bestError = 0.0;
        auto consider = [&](double z, double m, bool takeFirst) {
            const double error = RelativeErrorPercent(z / m, ratio);
            if ((takeFirst && !taken) || (taken && error < bestError)) {
                bestZ = z;
                bestM = m;
                bestError = error;
                taken = true;
            }
        };
        for (int g = 1; g <= kLargestRatioTerm; ++g) {
            const double scaled = g * ratio;
            const double ceiling = std::ceil(scaled);
            const double floor = std::floor(scaled);
            if (ceiling <= largest) {
                consider(ceiling, g, true);
                consider(floor, g, false);
            } else if (floor <= largest) {
                consider(floor, g, true);
            }
        }
    }
    *bestNumerator = static_cast<int>(bestZ);
    *bestDenominator = static_cast<int>(bestM);
    return (bestZ / bestM - ratio) / ratio * 100.0;
}

namespace {

constexpr double kThousandPi = 3141.592653589793;
constexpr double kMillionPi = 3141592.653589793;
// 65536 / 60000 and 65536 / 6e7.
constexpr double kRevolutionsPerMinute = 1.0922666666666667;
constexpr double kRevolutionsPerMinuteFine = 0.0010922666666666667;

// One unit of one kind: its selection value, and the factor of the ratio
// (or, when the ratio does not count, the constant).
struct UnitFactor {
    int Selection;
    bool UsesRatio;
    double Multiplier;  // z * Multiplier / (m * Divisor), or Multiplier alone
    double Divisor;
};
struct UnitKindRows {
    UnitFactor Position[4];
    UnitFactor Velocity[4];
};

constexpr UnitFactor kNoRow = {-1, false, 0.0, 1.0};

// Rows by unit kind 0 to 4; the position and velocity columns are independent.
constexpr UnitKindRows kUnitKinds[] = {
    {{{0, false, 0.001, 1}, {6, false, kRevolutionsPerMinute, 1}, kNoRow, kNoRow},
     {{0, false, 1e-6, 1}, {6, false, kRevolutionsPerMinuteFine, 1}, kNoRow, kNoRow}},
    {{{1, true, 1, 1000}, {2, true, 1, 1}, {6, false, kRevolutionsPerMinute, 1}, kNoRow},
     {{1, true, 1, 1e6}, {2, true, 1, 1000}, {6, false, kRevolutionsPerMinuteFine, 1}, kNoRow}},
    {{{1, true, 1, 1e6}, {2, true, 1, 1000}, {6, false, kRevolutionsPerMinute, 1}, kNoRow},
     {{1, true, 1, 1e9}, {2, true, 1, 1e6}, {6, false, kRevolutionsPerMinuteFine, 1}, kNoRow}},
    {{{3, true, 1, 1000}, {4, true, 180, kThousandPi}, {5, true, 360, 1000}, {6, true, 360, 60000}},
     {{3, true, 1, 1e6}, {4, true, 180, kMillionPi}, {5, true, 360, 1e6}, {6, true, 360, 6e7}}},
    {{{7, true, 1, 1000}, {4, true, 10800, kThousandPi}, {5, true, 21600, 1000}, {6, true, 360, 1000}},
     {{7, true, 1, 1e6}, {4, true, 10800, kMillionPi}, {5, true, 21600, 1e6}, {6, true, 360, 1e6}}},
};

const UnitFactor* FindUnit(const UnitFactor (&rows)[4], int selection) {
    for (const UnitFactor& row : rows) {
        if (row.Selection >= 0 && row.Selection == selection) return &row;
    }
    return nullptr;
}

}  // namespace

ScalingFactorResult ScalingFactorsFor(int unitKind, int positionUnit, int velocityUnit, double z, double m) {
    ScalingFactorResult result;
    if (unitKind < 0 || unitKind >= static_cast<int>(std::size(kUnitKinds))) {
        result.Error = ScalingSelectionError::UnitKind;
        return result;
    }
    const UnitKindRows& kind = kUnitKinds[unitKind];
    const UnitFactor* position = FindUnit(kind.Position, positionUnit);
    if (position == nullptr) {
        result.Error = ScalingSelectionError::PositionUnit;
        return result;
    }
    const UnitFactor* velocity = FindUnit(kind.Velocity, velocityUnit);
    if (velocity == nullptr) {
        result.Error = ScalingSelectionError::VelocityUnit;
        return result;
    }
    auto apply = [&](const UnitFactor& row) {
        return row.UsesRatio ? z * row.Multiplier / (m * row.Divisor) : row.Multiplier;
    };
    result.Factors.Position = apply(*position);
    result.Factors.Velocity = apply(*velocity);
    return result;
}
