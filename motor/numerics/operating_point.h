// The two searches for the operating point of an asynchronous motor: the
// flux at which the motor gives its rated torque within the peak current,
// reduced until the voltage at 110 % of rated speed fits the rated voltage.
#pragma once

#include <optional>

#include "motor/numerics/inductance_model.h"

struct OperatingPointInput {
    double voltage = 0.0;            // U, rated voltage, V rms line-to-line
    double peakCurrent = 0.0;        // I, A peak
    double speed = 0.0;              // n, rated speed, 1/min
    double torque = 0.0;             // M, rated torque, Nm
    double polePairs = 0.0;          // p
    double leakageInductance = 0.0;  // Ls, H
    double statorResistance = 0.0;   // Rs, Ohm
    double rotorResistance = 0.0;    // Rr, Ohm
};

struct OperatingPoint {
    double flux = 0.0;        // Vs
    double inductance = 0.0;  // magnetising inductance at that flux, H
};

// The search over the flux-producing current with the exponential model of the
// magnetising inductance over magnetising current. Empty when a divisor of the
// search is 0 (a zero peak current, a total or magnetising inductance of 0) or
// the result is not finite.
std::optional<OperatingPoint> OperatingPointFromExpModel(const OperatingPointInput& input,
                                                         const ExpInductanceModel& model);

// The search over the flux with the magnetising inductance as a polynomial of
// the flux (`EvalPolynomial4`). Empty when a divisor of the search is 0 (zero
// pole pairs or speed, an inductance of 0 at a flux tried, a zero
// flux-producing current) or the result is not finite.
std::optional<OperatingPoint> OperatingPointFromPolynomial(const OperatingPointInput& input,
                                                           const Polynomial4& coefficients);
