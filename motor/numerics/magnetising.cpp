#include "motor/numerics/magnetising.h"

#include <cmath>

#include "motor/numerics/finite_result.h"

std::optional<double> MagnetisingCurrentAmplitude(double omega, double current, double rr, double lt, double ls) {
    const double rr2 = rr * rr;
    const double w2 = omega * omega;
    const double denominator = rr2 + lt * lt * w2;
    if (denominator == 0.0) return std::nullopt;
    return FiniteOrNone(current * std::sqrt((rr2 + ls * ls * w2) / denominator));
}

std::optional<double> MagnetisingInductanceFromReactance(double omega, double rr, double ls, double x, double lt) {
    const double m = rr * rr;
    const double o = omega * omega * ls * ls;
    const double g = 8.0 * omega * ls * m * x - 4.0 * x * x * m + (m - o) * (m - o);
    if (!(g > 0.0)) return FiniteOrNone(lt - ls);
    const double denominator = 2.0 * omega * (x - 2.0 * omega * ls);
    if (denominator == 0.0) return std::nullopt;
    return FiniteOrNone((m + 3.0 * o - 2.0 * x * omega * ls - std::sqrt(g)) / denominator);
}

std::optional<double> LhExcitationFrequency(double rr, double ls, double lt) {
    if (lt == 0.0) return std::nullopt;
    const double g = 3.0 * lt * lt - 6.0 * ls * lt + ls * ls;
    double omega = 0.0;
    bool optimum = false;
    if (g > 0.0 && ls != 0.0) {
        const double ls2 = ls * ls;
        const double e = (3.0 * ls2 * ls2 - 4.0 * ls2 * lt * lt) / (g * g) + 1.0;
        if (e > 0.0 && e < 1.0) {
            omega = (rr / lt / ls) * std::sqrt(g) / std::sqrt(2.0) * std::sqrt(1.0 - std::sqrt(e)) * 0.25;
            optimum = true;
        }
    }
    if (!optimum) omega = rr / (3.0 * lt);
    if (omega < kMinLhExcitationFrequency) omega = kMinLhExcitationFrequency;
    return FiniteOrNone(omega);
}

std::optional<double> MagnetisingCurrentFromTotal(double lh, double ls, double id, double current) {
    if (lh + ls == 0.0) return std::nullopt;
    const double k = 1.0 - lh / (lh + ls);
    return FiniteOrNone(std::sqrt(id * id + k * k * (current * current - id * id)));
}
