// Weighted least-squares fit of the exponential magnetising-inductance model
// to measured points, with a search over the two exponents.
#pragma once

#include <optional>
#include <span>

#include "motor/numerics/inductance_model.h"

// Exponent factors of one search pass: c1 grows by 5 % and c2 shrinks by the
// same ratio (1 / 1.05).
inline constexpr double kExpFitC1Step = 1.05;
inline constexpr double kExpFitC2Step = 0.9523809523809523;

// Fits L(x) = A + B x e^(c1 x) + C x e^(c2 x) to the points (x[i], l[i]) with
// weights w[i]. Both exponents start at `startExponent`; every pass first
// steps them (kExpFitC1Step, kExpFitC2Step), then solves A, B and C. The search
// goes on while the weighted squared error falls; the result is the pass whose
// error no longer fell (the last pass computed).
// Empty when the arrays differ in size or are empty, when a pass's normal
// equations cannot be decomposed, or when the result is not finite.
std::optional<ExpInductanceModel> FitExponentialInductance(std::span<const double> x, std::span<const double> l,
                                                           std::span<const double> w, double startExponent);
