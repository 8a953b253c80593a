// The magnetising-inductance models of the asynchronous motor identification:
// the exponential model over current, its degree-8 polynomial form, and the
// degree-4 polynomial over flux that the drive keeps (MOMC0 to MOMC4).
#pragma once

#include <array>

// L(I) = A + B * I * e^(c1 * I) + C * I * e^(c2 * I); L in H, I in A peak,
// c1 and c2 in 1/A.
struct ExpInductanceModel {
    double A = 0.0;
    double B = 0.0;
    double C = 0.0;
    double c1 = 0.0;
    double c2 = 0.0;
};

// Coefficients c0 to c4 of a polynomial of degree 4.
using Polynomial4 = std::array<double, 5>;
// Coefficients P0 to P8 of a polynomial of degree 8.
using Polynomial8 = std::array<double, 9>;

// The exponential model's value at `current`.
double EvalExpInductance(double current, const ExpInductanceModel& model);

// c0 + x * (c1 + x * (c2 + x * (c3 + x * c4))).
double EvalPolynomial4(double x, const Polynomial4& c);

// P0 + P1 * x + ... + P8 * x^8.
double EvalPolynomial8(double x, const Polynomial8& p);

// Turns the exponential model into a polynomial of degree 8 in the current
// over the range up to `maxCurrent` (A peak): each exponential term adds its
// part to every coefficient, A adds to P0.
Polynomial8 ExpTermsToPolynomial(double maxCurrent, const ExpInductanceModel& model);
