#include "motor/numerics/cholesky.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

// The last element of an n x n matrix with this stride must lie in the array.
bool MatrixFits(int stride, int n, size_t size) {
    if (n < 0 || stride < n) return false;
    if (n == 0) return true;
    return static_cast<size_t>(n - 1) * static_cast<size_t>(stride) + static_cast<size_t>(n) <= size;
}

}  // namespace

int CholeskyDecompose(int stride, int n, std::span<double> matrix) {
    if (!MatrixFits(stride, n, matrix.size())) return kCholeskyBadArguments;
    auto at = [&](int row, int column) -> double& { return matrix[static_cast<size_t>(row) * stride + column]; };
    for (int k = 0; k < n; ++k) {
        for (int j = 0; j < k; ++j) {
            double sum = at(j, k);
            for (int m = 0; m < j; ++m) sum -= at(m, j) * at(m, k);
            at(j, k) = sum / at(j, j);
        }
        double radicand = at(k, k);
        for (int j = 0; j < k; ++j) radicand -= at(j, k) * at(j, k);
        // Written so that a NaN radicand fails too.
        if (!(radicand > 0.0)) return k + 1;
        at(k, k) = std::sqrt(radicand);
    }
    return n + 1;
}

bool CholeskySolve(int stride, int n, std::span<const double> matrix, std::span<double> rhs) {
    if (!MatrixFits(stride, n, matrix.size()) || rhs.size() < static_cast<size_t>(n)) return false;
    auto at = [&](int row, int column) { return matrix[static_cast<size_t>(row) * stride + column]; };
    for (int i = 0; i < n; ++i) {
        if (at(i, i) == 0.0) return false;
    }
    for (int i = 0; i < n; ++i) {
        double sum = rhs[i];
        for (int m = 0; m < i; ++m) sum -= at(m, i) * rhs[m];
        rhs[i] = sum / at(i, i);
    }
    for (int i = n - 1; i >= 0; --i) {
        rhs[i] /= at(i, i);
        for (int m = 0; m < i; ++m) rhs[m] -= rhs[i] * at(m, i);
    }
    return true;
}

int ClearDoubles(std::span<double> values) {
    std::fill(values.begin(), values.end(), 0.0);
    return 0;
}
