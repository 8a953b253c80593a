#include "scope/rounding/significant_digits.h"

#include <cmath>

double RoundToSignificantDigits(double x, int digits, bool correct) {
    if (x == 0.0 || !std::isfinite(x)) return x;
    // Kept as a double: a cast of an extreme exponent to int would overflow.
    const double exponent = std::trunc(std::log10(std::fabs(x)));
    const double step = std::pow(10.0, exponent - static_cast<double>(digits) + 1.0);
    // A step that underflows to 0 or overflows (absurd digit counts, subnormal
    // values) cannot round anything; the value is better left as it is.
    if (step == 0.0 || !std::isfinite(step)) return x;
    const double q = x / step;
    double r = std::ceil(q);
    if (r - q > 0.5) r = std::floor(q);
    double result = r * step;
    if (correct && x - result > 0.5 * step) result += step;
    // Rounding up next to the largest double would give infinity.
    return std::isfinite(result) ? result : x;
}
