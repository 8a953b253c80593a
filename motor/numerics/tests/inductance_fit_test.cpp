#include "motor/numerics/inductance_fit.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <utility>
#include <vector>

namespace {

// A magnetising curve as the identification measures it: 20 currents up to
// the peak current and the extra point at 0, weighted by (0.2 Ipeak + x)².
struct Curve {
    std::vector<double> x, l, w;
};

constexpr double kPeakCurrent = 10.0;
constexpr double kStart = -1.0 / kPeakCurrent;

Curve MakeCurve(double a, double b, double c, double c1, double c2) {
    Curve curve;
    for (int m = 0; m <= 20; ++m) {
        const double x = m == 20 ? 0.0 : kPeakCurrent * (m + 1) / 21.0;
        curve.x.push_back(x);
        curve.l.push_back(a + b * x * std::exp(c1 * x) + c * x * std::exp(c2 * x));
        curve.w.push_back((0.2 * kPeakCurrent + x) * (0.2 * kPeakCurrent + x));
    }
    return curve;
}

// Exponents after `passes` search passes, stepped as the search steps them.
std::pair<double, double> ExponentsAfter(int passes) {
    double c1 = kStart, c2 = kStart;
    for (int i = 0; i < passes; ++i) {
        c1 *= 1.05;
        c2 *= 0.9523809523809523;
    }
    return {c1, c2};
}

// Reference for one pass: the weighted least-squares A, B, C for fixed
// exponents, by Gaussian elimination in long double, and its error.
struct ReferencePass {
    long double a, b, c, error;
};

ReferencePass SolveReference(const Curve& curve, double c1, double c2) {
    long double m[3][4] = {};
    for (size_t i = 0; i < curve.x.size(); ++i) {
        const long double x = curve.x[i];
        const long double basis[3] = {1.0L, x * std::exp((long double)c1 * x), x * std::exp((long double)c2 * x)};
        for (int r = 0; r < 3; ++r) {
            for (int k = 0; k < 3; ++k) m[r][k] += curve.w[i] * basis[r] * basis[k];
            m[r][3] += curve.w[i] * basis[r] * curve.l[i];
        }
    }
    for (int p = 0; p < 3; ++p) {
        int best = p;
        for (int r = p + 1; r < 3; ++r) {
            if (std::fabs(m[r][p]) > std::fabs(m[best][p])) best = r;
        }
        for (int k = 0; k < 4; ++k) std::swap(m[p][k], m[best][k]);
        for (int r = 0; r < 3; ++r) {
            if (r == p) continue;
            const long double f = m[r][p] / m[p][p];
            for (int k = 0; k < 4; ++k) m[r][k] -= f * m[p][k];
        }
    }
    ReferencePass pass{m[0][3] / m[0][0], m[1][3] / m[1][1], m[2][3] / m[2][2], 0.0L};
    for (size_t i = 0; i < curve.x.size(); ++i) {
        const long double x = curve.x[i];
        const long double r = pass.a + pass.b * x * std::exp((long double)c1 * x) +
                              pass.c * x * std::exp((long double)c2 * x) - curve.l[i];
        pass.error += curve.w[i] * r * r;
    }
    return pass;
}

TEST(FitExponentialInductance, ReturnsThePassWhoseErrorNoLongerFell) {
    // The curve's exponents are those of the third pass, which fits it
    // exactly; the fourth pass is worse and ends the search.
    const auto [c1True, c2True] = ExponentsAfter(3);
    const Curve curve = MakeCurve(0.08, 0.02, -0.015, c1True, c2True);

    std::array<ReferencePass, 4> reference{};
    for (int pass = 1; pass <= 4; ++pass) {
        const auto [c1, c2] = ExponentsAfter(pass);
        reference[pass - 1] = SolveReference(curve, c1, c2);
    }
    ASSERT_LT(reference[1].error, reference[0].error);
    ASSERT_LT(reference[2].error, reference[1].error);
    ASSERT_GT(reference[3].error, reference[2].error);
    ASSERT_GT(reference[3].error, 1e-12L);

    const auto fit = FitExponentialInductance(curve.x, curve.l, curve.w, kStart);
    ASSERT_TRUE(fit);
    const auto [c1Last, c2Last] = ExponentsAfter(4);
    EXPECT_EQ(fit->c1, c1Last);
    EXPECT_EQ(fit->c2, c2Last);
    const ReferencePass& last = reference[3];
    EXPECT_NEAR(fit->A, static_cast<double>(last.a), 1e-7 * std::fabs(static_cast<double>(last.a)));
    EXPECT_NEAR(fit->B, static_cast<double>(last.b), 1e-7 * std::fabs(static_cast<double>(last.b)));
    EXPECT_NEAR(fit->C, static_cast<double>(last.c), 1e-7 * std::fabs(static_cast<double>(last.c)));
    // Not the exactly fitting third pass.
    EXPECT_GT(std::fabs(fit->A - 0.08), 1e-6);
}

TEST(FitExponentialInductance, RefusesPointSetsItCannotFit) {
    const Curve curve = MakeCurve(0.08, 0.02, -0.015, -0.1, -0.1);
    std::vector<double> shortW(curve.w.begin(), curve.w.end() - 1);
    EXPECT_FALSE(FitExponentialInductance(curve.x, curve.l, shortW, kStart));
    EXPECT_FALSE(FitExponentialInductance({}, {}, {}, kStart));
    // All currents 0: B and C have nothing to act on, the normal equations
    // are singular.
    const std::vector<double> zeros(5, 0.0), ones(5, 1.0);
    EXPECT_FALSE(FitExponentialInductance(zeros, ones, ones, kStart));
}

}  // namespace
