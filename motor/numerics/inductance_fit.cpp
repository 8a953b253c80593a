#include "motor/numerics/inductance_fit.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <vector>

#include "motor/numerics/cholesky.h"

namespace {

// Error that any first pass beats.
constexpr double kStartError = 1e30;
constexpr int kUnknowns = 3;  // A, B, C

bool IsFinite(const ExpInductanceModel& m) {
    return std::isfinite(m.A) && std::isfinite(m.B) && std::isfinite(m.C) && std::isfinite(m.c1) && std::isfinite(m.c2);
}

}  // namespace

std::optional<ExpInductanceModel> FitExponentialInductance(std::span<const double> x, std::span<const double> l,
                                                           std::span<const double> w, double startExponent) {
    const size_t count = x.size();
    if (count == 0 || l.size() != count || w.size() != count) return std::nullopt;

    double c1 = startExponent;
    double c2 = startExponent;
    double previousError = kStartError;
    std::vector<double> u(count);
    std::vector<double> v(count);
    // Each pass moves the exponents by a fixed factor, so they reach 0 or an
    // infinity after finitely many passes; the normal equations then become
    // singular or not finite and the search ends either way.
    for (;;) {
        c1 *= kExpFitC1Step;
        c2 *= kExpFitC2Step;
        std::array<double, kUnknowns * kIdentMatrixStride> matrix{};
        std::array<double, kUnknowns> solution{};
        auto at = [&matrix](int row, int column) -> double& {
            return matrix[static_cast<size_t>(row) * kIdentMatrixStride + column];
        };
        for (size_t i = 0; i < count; ++i) {
            u[i] = x[i] * std::exp(c2 * x[i]);
            v[i] = x[i] * std::exp(c1 * x[i]);
            at(0, 0) += w[i];
            at(0, 1) += w[i] * v[i];
            at(0, 2) += w[i] * u[i];
            at(1, 1) += w[i] * v[i] * v[i];
            at(1, 2) += w[i] * u[i] * v[i];
            at(2, 2) += w[i] * u[i] * u[i];
            solution[0] += w[i] * l[i];
            solution[1] += w[i] * v[i] * l[i];
            solution[2] += w[i] * u[i] * l[i];
        }
        if (CholeskyDecompose(kIdentMatrixStride, kUnknowns, matrix) != kUnknowns + 1 ||
            !CholeskySolve(kIdentMatrixStride, kUnknowns, matrix, solution)) {
            return std::nullopt;
        }
        const ExpInductanceModel pass{solution[0], solution[1], solution[2], c1, c2};
        double error = 0.0;
        for (size_t i = 0; i < count; ++i) {
            const double residual = pass.A + pass.B * v[i] + pass.C * u[i] - l[i];
            error += w[i] * residual * residual;
        }
        if (error < previousError) {
            previousError = error;
            continue;
        }
        if (!IsFinite(pass)) return std::nullopt;
        return pass;
    }
}
