#include "motor/numerics/operating_point.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A motor with a constant magnetising inductance of 0.2 H, so each search
// step can be followed by hand: Id grows (or shrinks) by exactly 1 % per pass.
constexpr double kLh = 0.2;

OperatingPointInput Motor(double voltage, double torque) {
    OperatingPointInput in;
    in.voltage = voltage;
    in.peakCurrent = 10.0;
    in.speed = 1500.0;
    in.torque = torque;
    in.polePairs = 2.0;
    in.leakageInductance = 0.01;
    in.statorResistance = 0.5;
    in.rotorResistance = 0.4;
    return in;
}

// Torque at the flux-producing current id with the constant inductance.
double Torque(const OperatingPointInput& in, double id) {
    return 1.5 * in.polePairs * kLh * kLh / (kLh + in.leakageInductance) * id *
           std::sqrt(in.peakCurrent * in.peakCurrent - id * id);
}

// Squared peak phase voltage needed at 110 % speed (reference of the test).
double NeededVoltageSquared(const OperatingPointInput& in, double id) {
    const double w = in.polePairs * in.speed * 2.0 * M_PI / 60.0 * 1.1;
    const double lt = in.leakageInductance + kLh;
    const double iq = std::sqrt(in.peakCurrent * in.peakCurrent - id * id);
    const double slip = iq * in.rotorResistance / lt / id;
    const double uq = id * w * lt + (in.statorResistance + in.rotorResistance) * iq;
    const double ud = in.statorResistance * id - iq * (lt - kLh * kLh / lt) * (w + slip);
    return uq * uq + ud * ud;
}

const ExpInductanceModel kConstantModel{kLh, 0.0, 0.0, -0.1, -0.1};
const Polynomial4 kConstantPolynomial{kLh, 0.0, 0.0, 0.0, 0.0};

TEST(OperatingPointFromExpModel, StopsAtTheFirstPassThatReachesTheTorque) {
    const double id9 = 1.5 * std::pow(1.01, 9);
    const double id10 = 1.5 * std::pow(1.01, 10);
    OperatingPointInput in = Motor(1e6, 0.0);
    in.torque = 0.5 * (Torque(in, id9) + Torque(in, id10));
    ASSERT_LT(NeededVoltageSquared(in, id10), in.voltage * in.voltage * 2.0 / 3.0);

    const auto point = OperatingPointFromExpModel(in, kConstantModel);
    ASSERT_TRUE(point);
    EXPECT_NEAR(point->inductance, kLh, 1e-15);
    EXPECT_NEAR(point->flux, kLh * id10, 1e-12);
}

TEST(OperatingPointFromExpModel, LowersTheCurrentUntilTheVoltageFits) {
    const double id10 = 1.5 * std::pow(1.01, 10);
    OperatingPointInput in = Motor(0.0, 0.0);
    in.torque = 0.5 * (Torque(in, id10 / 1.01) + Torque(in, id10));
    // The voltage falls with every 1 % step; the limit lies between the
    // second and third step down.
    double v[4];
    for (int k = 0; k < 4; ++k) v[k] = NeededVoltageSquared(in, id10 * std::pow(0.99, k));
    ASSERT_GT(v[0], v[1]);
    ASSERT_GT(v[1], v[2]);
    ASSERT_GT(v[2], v[3]);
    in.voltage = std::sqrt(1.5 * 0.5 * (v[2] + v[3]));

    const auto point = OperatingPointFromExpModel(in, kConstantModel);
    ASSERT_TRUE(point);
    EXPECT_NEAR(point->flux, kLh * id10 * std::pow(0.99, 3), 1e-12);
}

TEST(OperatingPointFromPolynomial, StartsFromTheRatedFluxAndRaisesItToTheTorque) {
    OperatingPointInput in = Motor(400.0, 0.0);
    // Flux of the rated voltage and speed: sqrt(2/3) U / (2 pi f), f = p n / 60.
    const double psi0 = std::sqrt(2.0 / 3.0) * 0.5 * 400.0 / (2.0 * M_PI * 2.0 * 1500.0 / 60.0);
    const double psi4 = psi0 * std::pow(1.01, 4);
    const double psi5 = psi0 * std::pow(1.01, 5);
    in.torque = 0.5 * (Torque(in, psi4 / kLh) + Torque(in, psi5 / kLh));
    ASSERT_LT(NeededVoltageSquared(in, psi5 / kLh), 400.0 * 400.0 * 2.0 / 3.0);

    const auto point = OperatingPointFromPolynomial(in, kConstantPolynomial);
    ASSERT_TRUE(point);
    EXPECT_NEAR(point->flux, psi5, 1e-7 * psi5);  // 1/(2 pi) is a single-precision constant
    EXPECT_EQ(point->inductance, kLh);
}

TEST(OperatingPointFromPolynomial, AFluxStepPastThePeakCurrentEndsWithThatStep) {
    // The inductance falls so fast with the flux that one 1 % step takes the
    // current from 12.7 A past the peak current of 20 A. That step's torque
    // and voltage have no real value and are not used; its flux is the result.
    OperatingPointInput in = Motor(50.0, 1e9);
    in.peakCurrent = 20.0;
    const Polynomial4 falling{0.2, -3.0, 0.0, 0.0, 0.0};
    const double psi1 = std::sqrt(2.0 / 3.0) * 0.5 * 0.15915493866300567 * 50.0 * 60.0 / 3000.0 * 1.01;
    ASSERT_GT(psi1 / (0.2 - 3.0 * psi1), in.peakCurrent);

    const auto point = OperatingPointFromPolynomial(in, falling);
    ASSERT_TRUE(point);
    EXPECT_NEAR(point->flux, psi1, 1e-15);
    EXPECT_NEAR(point->inductance, 0.2 - 3.0 * psi1, 1e-15);
}

TEST(OperatingPoint, ZeroDivisorsAreFailures) {
    OperatingPointInput noCurrent = Motor(400.0, 10.0);
    noCurrent.peakCurrent = 0.0;
    EXPECT_FALSE(OperatingPointFromExpModel(noCurrent, kConstantModel));

    OperatingPointInput cancelling = Motor(400.0, 10.0);
    cancelling.leakageInductance = -kLh;
    EXPECT_FALSE(OperatingPointFromExpModel(cancelling, kConstantModel));
    EXPECT_FALSE(OperatingPointFromPolynomial(cancelling, kConstantPolynomial));

    OperatingPointInput noPoles = Motor(400.0, 10.0);
    noPoles.polePairs = 0.0;
    EXPECT_FALSE(OperatingPointFromPolynomial(noPoles, kConstantPolynomial));
    OperatingPointInput standing = Motor(400.0, 10.0);
    standing.speed = 0.0;
    EXPECT_FALSE(OperatingPointFromPolynomial(standing, kConstantPolynomial));
    OperatingPointInput noVoltage = Motor(0.0, 10.0);
    EXPECT_FALSE(OperatingPointFromPolynomial(noVoltage, kConstantPolynomial));

    EXPECT_FALSE(OperatingPointFromPolynomial(Motor(400.0, 10.0), Polynomial4{}));
}

}  // namespace
