#include "motor/numerics/cholesky.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

namespace {

constexpr int kStride = kIdentMatrixStride;
constexpr double kLowerSentinel = -777.0;  // must survive: the lower triangle is never touched
constexpr double kPadSentinel = 555.0;     // must survive: columns beyond n

// An n x n matrix in stride-7 rows; the lower triangle and the padding hold
// sentinels, so reading or writing them shows in the results.
std::vector<double> StrideMatrix(int n, const std::vector<std::vector<double>>& upper) {
    std::vector<double> m(static_cast<size_t>(n) * kStride, kPadSentinel);
    for (int j = 0; j < n; ++j) {
        for (int k = 0; k < n; ++k) m[j * kStride + k] = k >= j ? upper[j][k] : kLowerSentinel;
    }
    return m;
}

void ExpectLowerAndPaddingUntouched(const std::vector<double>& m, int n) {
    for (int j = 0; j < n; ++j) {
        for (int k = 0; k < kStride; ++k) {
            if (k < j) {
                EXPECT_EQ(m[j * kStride + k], kLowerSentinel) << j << "," << k;
            }
            if (k >= n) {
                EXPECT_EQ(m[j * kStride + k], kPadSentinel) << j << "," << k;
            }
        }
    }
}

TEST(Cholesky, DecomposesAndSolvesKnownSystem) {
    // M = U'U with U = [[2,1,1],[0,3,2],[0,0,1]]; x = (1, -2, 3) gives b = (6, 3, 6).
    std::vector<double> m = StrideMatrix(3, {{4, 2, 2}, {0, 10, 7}, {0, 0, 6}});
    ASSERT_EQ(CholeskyDecompose(kStride, 3, m), 4);
    const double expectedU[3][3] = {{2, 1, 1}, {0, 3, 2}, {0, 0, 1}};
    for (int j = 0; j < 3; ++j) {
        for (int k = j; k < 3; ++k) EXPECT_NEAR(m[j * kStride + k], expectedU[j][k], 1e-15);
    }
    std::array<double, 3> b = {6, 3, 6};
    ASSERT_TRUE(CholeskySolve(kStride, 3, m, b));
    EXPECT_NEAR(b[0], 1.0, 1e-12);
    EXPECT_NEAR(b[1], -2.0, 1e-12);
    EXPECT_NEAR(b[2], 3.0, 1e-12);
    ExpectLowerAndPaddingUntouched(m, 3);
}

TEST(Cholesky, SolvesTheSizesOfTheIdentification) {
    for (int n : {3, 4, 5}) {
        std::vector<std::vector<double>> a(n, std::vector<double>(n));
        for (int j = 0; j < n; ++j) {
            for (int k = 0; k < n; ++k) a[j][k] = 1.0 / (j + k + 1) + (j == k ? 1.0 : 0.0);
        }
        std::vector<double> x(n);
        std::vector<double> b(n, 0.0);
        for (int j = 0; j < n; ++j) x[j] = 0.5 * j - 1.25;
        for (int j = 0; j < n; ++j) {
            for (int k = 0; k < n; ++k) b[j] += a[j][k] * x[k];
        }
        std::vector<double> m = StrideMatrix(n, a);
        ASSERT_EQ(CholeskyDecompose(kStride, n, m), n + 1) << n;
        ASSERT_TRUE(CholeskySolve(kStride, n, m, b));
        for (int j = 0; j < n; ++j) EXPECT_NEAR(b[j], x[j], 1e-12) << n << " " << j;
        ExpectLowerAndPaddingUntouched(m, n);
    }
}

TEST(Cholesky, StopsAtFirstPivotThatIsNotPositive) {
    // Column 1: U01 = 6 / 2 = 3, radicand 5 - 9 < 0.
    std::vector<double> m = StrideMatrix(3, {{4, 6, 1}, {0, 5, 2}, {0, 0, 7}});
    EXPECT_EQ(CholeskyDecompose(kStride, 3, m), 2);
    EXPECT_EQ(m[0], 2.0);
    EXPECT_EQ(m[1], 3.0);
    EXPECT_EQ(m[kStride + 1], 5.0);  // the failing pivot keeps its value
    EXPECT_EQ(m[2], 1.0);            // the later column is untouched
    EXPECT_EQ(m[kStride + 2], 2.0);
    EXPECT_EQ(m[2 * kStride + 2], 7.0);
    ExpectLowerAndPaddingUntouched(m, 3);

    // A zero pivot fails too, as does a NaN, and a non-positive first pivot.
    std::vector<double> zero = StrideMatrix(2, {{1, 1}, {0, 1}});
    EXPECT_EQ(CholeskyDecompose(kStride, 2, zero), 2);
    std::vector<double> nan = StrideMatrix(2, {{1, 0}, {0, std::nan("")}});
    EXPECT_EQ(CholeskyDecompose(kStride, 2, nan), 2);
    std::vector<double> first = StrideMatrix(2, {{-1, 0}, {0, 1}});
    EXPECT_EQ(CholeskyDecompose(kStride, 2, first), 1);
    EXPECT_EQ(first[0], -1.0);
}

TEST(Cholesky, RefusesArgumentsThatDoNotFit) {
    std::vector<double> m(3 * kStride, 1.0);
    const std::vector<double> before = m;
    EXPECT_EQ(CholeskyDecompose(kStride, 4, m), kCholeskyBadArguments);  // rows beyond the array
    EXPECT_EQ(CholeskyDecompose(2, 3, m), kCholeskyBadArguments);        // stride below the size
    EXPECT_EQ(CholeskyDecompose(kStride, -1, m), kCholeskyBadArguments);
    EXPECT_EQ(m, before);
    EXPECT_EQ(CholeskyDecompose(kStride, 0, m), 1);  // an empty system is decomposed

    std::array<double, 2> shortRhs = {1, 2};
    EXPECT_FALSE(CholeskySolve(kStride, 3, m, shortRhs));
    EXPECT_EQ(shortRhs[1], 2.0);
}

TEST(Cholesky, SolveRefusesZeroDiagonal) {
    // What a matrix whose decomposition failed may look like.
    std::vector<double> m = StrideMatrix(2, {{2, 1}, {0, 0}});
    std::array<double, 2> b = {3, 4};
    EXPECT_FALSE(CholeskySolve(kStride, 2, m, b));
    EXPECT_EQ(b[0], 3.0);
    EXPECT_EQ(b[1], 4.0);
}

TEST(Cholesky, ClearDoublesZeroesEveryElement) {
    std::array<double, 4> values = {1, -2, 3.5, std::nan("")};
    EXPECT_EQ(ClearDoubles(values), 0);
    for (double v : values) EXPECT_EQ(v, 0.0);
}

}  // namespace
