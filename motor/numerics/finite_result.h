// The rule every numeric routine here follows: a result that is not a finite
// number is no result, so no caller can write an infinity or NaN to a drive.
#pragma once

#include <cmath>
#include <optional>

inline std::optional<double> FiniteOrNone(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}
