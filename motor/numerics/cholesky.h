// Dense Cholesky solver for the small symmetric normal equations of the motor
// identification's least-squares fits. Works on the upper triangle only.
#pragma once

#include <span>

// Row stride of the normal-equation matrices of the identification (systems of
// size 3, 4 or 5 live in 7-column rows).
inline constexpr int kIdentMatrixStride = 7;

// Returned by CholeskyDecompose when the size, stride and array do not fit
// together; never a pivot index (those start at 1) nor a success (n + 1).
inline constexpr int kCholeskyBadArguments = 0;

// Decomposes the symmetric matrix of size n (row-major, element [j][k] at
// j * stride + k) in place into the upper triangular U with M = U'U.
// Returns n + 1 on success, or the 1-based index of the first pivot that is
// not positive; the columns after that pivot stay as they were. The lower
// triangle is neither read nor written.
int CholeskyDecompose(int stride, int n, std::span<double> matrix);

// Solves U'U x = b with the U of CholeskyDecompose; `rhs` becomes x. Returns
// false, leaving `rhs` as it was, when the arguments do not fit together or a
// diagonal element of U is 0 (a matrix whose decomposition failed).
bool CholeskySolve(int stride, int n, std::span<const double> matrix, std::span<double> rhs);

// Sets every element to 0; returns 0.
int ClearDoubles(std::span<double> values);
