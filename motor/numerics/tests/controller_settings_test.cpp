#include "motor/numerics/controller_settings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace {

std::vector<double> Values(const std::optional<CurrentControllerSettings>& s) {
    if (!s) return {};
    return {s->gain, s->resetTime};
}

std::vector<double> Values(const std::optional<SpeedPositionSettings>& s) {
    if (!s) return {};
    return {s->speedGain, s->speedResetTimeMs, s->positionGain};
}

struct FormulaCase {
    std::string name;
    std::function<std::vector<double>()> compute;
    std::vector<double> expected;
};

// Expected values worked out from the formulas with the single-precision
// constants (current-loop delay 1.5 Ts + 2.300000051036477e-05 s).
TEST(ControllerSettings, FormulasGiveTheWorkedValues) {
    // clang-format off
    const std::vector<FormulaCase> cases = {
        // Identification: tau = 5 ms above 13.5 delays (2.3355 ms).
        {"ident long tau", [] { return Values(CalcIdentCurrentController(0.01, 2, 0.0001)); },
         {24.4049900137, 0.00233550000689}},
        {"ident long tau, Ts 125 us",
         [] { return Values(CalcIdentCurrentController(0.01, 2, 0.000125)); },
         {20.9724800436, 0.00284175000689}},
        // tau = 1 ms below the limit: the reset time is tau.
        {"ident short tau", [] { return Values(CalcIdentCurrentController(0.002, 2, 0.0001)); },
         {6.05316518641, 0.001}},
        // tau = 0.2 ms: the gain keeps tau, the reset time becomes 0.5 ms.
        {"ident tau below 0.5 ms",
         [] { return Values(CalcIdentCurrentController(0.0002, 1, 0.0001)); },
         {0.605316518641, 0.000500000023749}},
        // Setup windows: tau = 5 ms takes the first branch (24 delays).
        {"setup long tau", [] { return Values(CalcCurrentControllerSettings(0.01, 2, 0.0001)); },
         {14.4508670094, 0.00415200001225}},
        // tau exactly 2.5 ms takes the second branch.
        {"setup tau at limit",
         [] { return Values(CalcCurrentControllerSettings(0.0025, 1, 0.0001)); },
         {7.56645648301, 0.0025}},
        {"setup tau 1.5 ms", [] { return Values(CalcCurrentControllerSettings(0.0015, 1, 0.0002)); },
         {2.43157332512, 0.0015}},
        {"setup tau below 1 ms",
         [] { return Values(CalcCurrentControllerSettings(0.0005, 1, 0.0001)); },
         {1.5132912966, 0.001}},
        // Gains above 200 (1445 and 3026) are capped, in either branch.
        {"setup gain cap, long tau",
         [] { return Values(CalcCurrentControllerSettings(1, 100, 0.0001)); },
         {200, 0.00415200001225}},
        {"setup gain cap, short tau",
         [] { return Values(CalcCurrentControllerSettings(1, 1000, 0.0001)); }, {200, 0.001}},
        {"speed and position",
         [] { return Values(CalcSpeedAndPositionController(3.5, 0.000125, 0.001, 0.002, 1, 0.01)); },
         {0.0886516470127, 41.34375, 1737.55656109}},
        {"speed and position, filter 2 ms",
         [] { return Values(CalcSpeedAndPositionController(5, 0.0002, 0.0005, 0.004, 2, 0.05)); },
         {0.20533285889, 127.5, 813.559322034}},
        // Position gain 600000 is capped.
        {"position gain cap",
         [] { return Values(CalcSpeedAndPositionController(0.1, 0.0001, 0.0001, 0, 0, 0.002)); },
         {5.23598790169, 0.004, 32000}},
        {"inertia 200 kW computes with 90", [] { return std::vector{EstimateMotorInertia(200, 3)}; },
         {3.1689963575}},
        {"inertia 90 kW", [] { return std::vector{EstimateMotorInertia(90, 3)}; }, {3.1689963575}},
        {"inertia 0.05 kW computes with 0.1",
         [] { return std::vector{EstimateMotorInertia(0.05, 4)}; }, {0.000372193331691}},
        {"inertia 0.1 kW", [] { return std::vector{EstimateMotorInertia(0.1, 6)}; },
         {0.000372193331691}},
        {"inertia 3 pole pairs", [] { return std::vector{EstimateMotorInertia(1.5, 3)}; },
         {0.00928210631014}},
        {"inertia 2 pole pairs (4/9)", [] { return std::vector{EstimateMotorInertia(1.5, 2)}; },
         {0.00412538058228}},
        {"inertia 1 pole pair (1/9)", [] { return std::vector{EstimateMotorInertia(1.5, 1)}; },
         {0.00103134514557}},
    };
    // clang-format on
    for (const FormulaCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<double> actual = c.compute();
        ASSERT_EQ(actual.size(), c.expected.size());
        for (size_t i = 0; i < actual.size(); ++i) {
            EXPECT_NEAR(actual[i], c.expected[i], 1e-6 * std::fabs(c.expected[i])) << "value " << i;
        }
    }
}

TEST(ControllerSettings, SinglePrecisionConstantsStaySinglePrecision) {
    // 24 delays of 1.5 * 0.1 ms + 0.000023f s; the double 0.000023 would differ
    // by far more than a few units in the last place.
    const auto setup = CalcCurrentControllerSettings(0.01, 2, 0.0001);
    ASSERT_TRUE(setup);
    EXPECT_DOUBLE_EQ(setup->resetTime, 24 * (1.5 * 0.0001 + 2.300000051036477e-05));
    const auto ident = CalcIdentCurrentController(0.0002, 1, 0.0001);
    ASSERT_TRUE(ident);
    EXPECT_EQ(ident->resetTime, 0.0005000000237487257);
    // 0.1 kW as a double lies below the single-precision lower limit.
    EXPECT_EQ(EstimateMotorInertia(0.1, 3), EstimateMotorInertia(0.10000000149011612, 3));
    EXPECT_NE(EstimateMotorInertia(0.1000001, 3), EstimateMotorInertia(0.1, 3));
}

TEST(ControllerSettings, ZeroDivisorsAreFailuresNotInfinities) {
    EXPECT_FALSE(CalcIdentCurrentController(0.01, 0, 0.0001));
    EXPECT_FALSE(CalcCurrentControllerSettings(0.01, 0, 0.0001));
    // A sampling period that cancels the fixed delay.
    EXPECT_FALSE(CalcCurrentControllerSettings(0.01, 1, -2.300000051036477e-05 / 1.5));
    // Stiffness factor 0 (a stiffness of 240 in the setup window) gives no delay.
    EXPECT_FALSE(CalcSpeedAndPositionController(0, 0.000125, 0.001, 0.002, 1, 0.01));
    EXPECT_FALSE(CalcSpeedAndPositionController(3.5, 0, 0, 0, 0, 0.01));
    // A speed-loop delay that the position-loop delay cancels.
    EXPECT_FALSE(CalcSpeedAndPositionController(1, 0, 0.001, -0.001, 0, 0.01));
    // An infinite input is no result either.
    EXPECT_FALSE(CalcIdentCurrentController(INFINITY, 1, 0.0001));
}

}  // namespace
