#include "motor/numerics/magnetising.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <string>
#include <vector>

namespace {

// Reactance of the equivalent circuit (leakage Ls in series with Lh parallel
// to Rr and a second Ls) that the magnetising measurement sees.
double CircuitReactance(double omega, double rr, double ls, double lh) {
    const std::complex<double> jw(0.0, omega);
    const std::complex<double> rotor = rr + jw * ls;
    return (jw * ls + jw * lh * rotor / (jw * lh + rotor)).imag();
}

TEST(Magnetising, ReactanceAtTheChosenFrequencyGivesBackTheInductance) {
    const double rr = 0.8;
    const double ls = 0.01;
    for (double lh : {0.05, 0.1, 0.3, 1.0}) {
        SCOPED_TRACE(lh);
        const auto omega = LhExcitationFrequency(rr, ls, lh + ls);
        ASSERT_TRUE(omega);
        const double x = CircuitReactance(*omega, rr, ls, lh);
        const auto found = MagnetisingInductanceFromReactance(*omega, rr, ls, x, 0.2);
        ASSERT_TRUE(found);
        EXPECT_NEAR(*found, lh, 1e-12 * lh);
    }
}

TEST(Magnetising, ReactanceWithoutRealRootKeepsThePreviousEstimate) {
    // With Rr = w Ls the discriminant is 8 w Ls m X - 4 X² m, negative for a
    // large reactance X.
    const auto none = MagnetisingInductanceFromReactance(1.0, 0.01, 0.01, 100.0, 0.25);
    ASSERT_TRUE(none);
    EXPECT_EQ(*none, 0.25 - 0.01);
}

TEST(Magnetising, ExcitationFrequencyNeverBelowItsFloor) {
    struct Case {
        double rr, ls, lt, expected;
    };
    const std::vector<Case> cases = {
        {1.0, 0.01, 0.2, 0.7597904962150088},  // optimum branch
        {0.0, 0.01, 0.2, kMinLhExcitationFrequency},
        {-1.0, 0.01, 0.2, kMinLhExcitationFrequency},
        {1e-3, 0.01, 0.2, kMinLhExcitationFrequency},
        {1.0, 0.0, 0.2, 1.6666666666666665},   // no leakage: Rr / (3 Lt)
        {1.0, 0.01, 0.011, 30.3030303030303},  // g < 0: Rr / (3 Lt)
        {1e-3, 0.01, 0.011, kMinLhExcitationFrequency},
        {1.0, 0.0, -0.2, kMinLhExcitationFrequency},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.rr) + " " + std::to_string(c.ls) + " " + std::to_string(c.lt));
        const auto omega = LhExcitationFrequency(c.rr, c.ls, c.lt);
        ASSERT_TRUE(omega);
        EXPECT_GE(*omega, kMinLhExcitationFrequency);
        EXPECT_NEAR(*omega, c.expected, 1e-12 * c.expected);
    }
    EXPECT_EQ(kMinLhExcitationFrequency, 0.12566370964050294);
}

TEST(Magnetising, CurrentFormulas) {
    // 4 * sqrt((0.64 + 0.0004) / (0.64 + 0.1764)) and sqrt(1 + (0.01/0.21)² * 15).
    const auto amplitude = MagnetisingCurrentAmplitude(2.0, 4.0, 0.8, 0.21, 0.01);
    ASSERT_TRUE(amplitude);
    EXPECT_NEAR(*amplitude, 3.542698185855063, 1e-14);
    const auto fromTotal = MagnetisingCurrentFromTotal(0.2, 0.01, 1.0, 4.0);
    ASSERT_TRUE(fromTotal);
    EXPECT_NEAR(*fromTotal, 1.0168645954315534, 1e-14);
}

TEST(Magnetising, ZeroDivisorsAreFailures) {
    EXPECT_FALSE(LhExcitationFrequency(1.0, 0.01, 0.0));
    EXPECT_FALSE(LhExcitationFrequency(0.0, 0.01, 0.0));
    // Zero frequency, and a reactance of exactly 2 w Ls, with a real root.
    EXPECT_FALSE(MagnetisingInductanceFromReactance(0.0, 0.8, 0.01, 0.1, 0.2));
    EXPECT_FALSE(MagnetisingInductanceFromReactance(10.0, 0.8, 0.01, 0.2, 0.2));
    EXPECT_FALSE(MagnetisingCurrentAmplitude(0.0, 4.0, 0.0, 0.2, 0.01));
    EXPECT_FALSE(MagnetisingCurrentAmplitude(2.0, 4.0, 0.0, 0.0, 0.01));
    EXPECT_FALSE(MagnetisingCurrentFromTotal(0.01, -0.01, 1.0, 4.0));
    EXPECT_FALSE(MagnetisingCurrentFromTotal(0.0, 0.0, 1.0, 4.0));
}

}  // namespace
