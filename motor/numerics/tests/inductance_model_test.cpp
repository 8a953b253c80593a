#include "motor/numerics/inductance_model.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace {

TEST(InductanceModel, EvaluatesBothModels) {
    const ExpInductanceModel model{0.05, 0.02, -0.01, -0.3, -0.1};
    EXPECT_NEAR(EvalExpInductance(2.0, model), 0.05 + 2.0 * (0.02 * std::exp(-0.6) - 0.01 * std::exp(-0.2)), 1e-16);
    EXPECT_EQ(EvalExpInductance(0.0, model), 0.05);
    EXPECT_EQ(EvalPolynomial4(2.0, {1, 2, 3, 4, 5}), 1 + 2 * 2 + 3 * 4 + 4 * 8 + 5 * 16);
    EXPECT_EQ(EvalPolynomial8(-2.0, {1, 1, 1, 1, 1, 1, 1, 1, 1}), 171.0);  // (1 - (-2)^9) / 3
}

TEST(ExpTermsToPolynomial, WithoutExponentialTermsOnlyTheConstantRemains) {
    const Polynomial8 p = ExpTermsToPolynomial(12.5, {0.073, 0.0, 0.0, -0.08, -0.2});
    EXPECT_EQ(p[0], 0.073);
    for (size_t k = 1; k < p.size(); ++k) EXPECT_EQ(p[k], 0.0) << k;
}

TEST(ExpTermsToPolynomial, MatchesTheTableForBothTerms) {
    // Imax = 2 with c1 = -0.5 and c2 = 0.5 puts x at -1 and +1, where the
    // nested polynomials of P1 to P8 take these whole values (worked by hand).
    constexpr std::array<double, 8> kNestedAtMinusOne = {-13699, 3913, -977, 259, -79, 29, -13, 7};
    constexpr std::array<double, 8> kNestedAtPlusOne = {-1853, 531, -131, 37, -9, 7, 1, 9};
    constexpr std::array<double, 9> kFactor = {2.48015873015873e-05,
                                               -0.00023374945339209785,
                                               0.0009259259259259257,
                                               -0.0020453077171808556,
                                               0.002777777777777778,
                                               -0.0023861923367109973,
                                               0.00126984126984127,
                                               -0.0003834951969714103,
                                               5.039052658100278e-05};
    const double imax = 2.0, a = 0.05, b = 0.3, c = -0.02, c1 = -0.5, c2 = 0.5;
    const double eb = b * std::exp(-1.0);
    const double ec = c * std::exp(1.0);

    const Polynomial8 p = ExpTermsToPolynomial(imax, {a, b, c, c1, c2});

    // P0: A + K e^x Imax x^8 F0 per term, x^8 = 1.
    EXPECT_NEAR(p[0], a + (eb + ec) * imax * kFactor[0], 1e-12);
    for (int k = 1; k <= 8; ++k) {
        const double expected = eb * std::pow(c1, k - 1) * kFactor[k] * kNestedAtMinusOne[k - 1] +
                                ec * std::pow(c2, k - 1) * kFactor[k] * kNestedAtPlusOne[k - 1];
        EXPECT_NEAR(p[k], expected, 1e-12) << "P" << k;
    }
}

}  // namespace
