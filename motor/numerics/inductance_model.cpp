#include "motor/numerics/inductance_model.h"

#include <cmath>
#include <cstddef>

namespace {

// Per coefficient Pk (k = 1 to 8) of one exponential term: the scale factor,
// and the constants a0, a1, ... of the nested form (...((x + a0)x + a1)x ...)
// in x = c * maxCurrent.
struct TermCoefficient {
    double factor;
    int count;
    std::array<double, 8> nested;
};

// Scale factor of P0's part, P0 += K * e^x * maxCurrent * x^8 * factor.
constexpr double kP0Factor = 2.48015873015873e-05;

constexpr std::array<TermCoefficient, 8> kTermCoefficients = {{
    {-0.00023374945339209785, 8, {1, -7, 42, -210, 840, -2520, 5040, -5040}},
    {0.0009259259259259257, 7, {2, -12, 60, -240, 720, -1440, 1440}},
    {-0.0020453077171808556, 6, {3, -15, 60, -180, 360, -360}},
    {0.002777777777777778, 5, {4, -16, 48, -96, 96}},
    {-0.0023861923367109973, 4, {5, -15, 30, -30}},
    {0.00126984126984127, 3, {6, -12, 12}},
    {-0.0003834951969714103, 2, {7, -7}},
    {5.039052658100278e-05, 1, {8}},
}};

double EvalNested(double x, const TermCoefficient& term) {
    double sum = x + term.nested[0];
    for (int i = 1; i < term.count; ++i) sum = sum * x + term.nested[i];
    return sum;
}

// Adds one term K * I * e^(c * I) of the model to the coefficients.
void AddExpTerm(Polynomial8& p, double maxCurrent, double k, double c) {
    const double x = c * maxCurrent;
    const double scaled = k * std::exp(x);
    const double x2 = x * x;
    const double x4 = x2 * x2;
    p[0] += scaled * maxCurrent * (x4 * x4) * kP0Factor;
    double cPower = 1.0;  // c^(k-1) for coefficient Pk
    for (size_t i = 0; i < kTermCoefficients.size(); ++i) {
        const TermCoefficient& term = kTermCoefficients[i];
        p[i + 1] += scaled * cPower * term.factor * EvalNested(x, term);
        cPower *= c;
    }
}

}  // namespace

double EvalExpInductance(double current, const ExpInductanceModel& model) {
    return model.A + current * (model.B * std::exp(model.c1 * current) + model.C * std::exp(model.c2 * current));
}

double EvalPolynomial4(double x, const Polynomial4& c) {
    return c[0] + x * (c[1] + x * (c[2] + x * (c[3] + x * c[4])));
}

double EvalPolynomial8(double x, const Polynomial8& p) {
    double sum = p[8];
    for (int i = 7; i >= 0; --i) sum = sum * x + p[i];
    return sum;
}

Polynomial8 ExpTermsToPolynomial(double maxCurrent, const ExpInductanceModel& model) {
    Polynomial8 p{};
    p[0] = model.A;
    AddExpTerm(p, maxCurrent, model.B, model.c1);
    AddExpTerm(p, maxCurrent, model.C, model.c2);
    return p;
}
