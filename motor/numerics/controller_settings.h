// Controller settings computed from motor data: the current controller of the
// identification and of the setup windows, the speed and position
// controllers, and an estimate of the motor's inertia from its rated power.
#pragma once

#include <optional>

struct CurrentControllerSettings {
    double gain = 0.0;       // V/A
    double resetTime = 0.0;  // s
};

struct SpeedPositionSettings {
    double speedGain = 0.0;         // Nm min
    double speedResetTimeMs = 0.0;  // ms
    double positionGain = 0.0;      // 1/min
};

// Gain above which the setup windows' current controller is limited.
inline constexpr double kMaxCurrentControllerGain = 200.0;
// Largest position-controller gain, 1/min.
inline constexpr double kMaxPositionGain = 32000.0;

// Current controller for the load inductance `inductance` (H) and resistance
// `resistance` (Ohm) at the sampling period `samplingPeriod` (s), as the
// identification sets it. Empty when the resistance is 0 or the result is
// not finite.
std::optional<CurrentControllerSettings> CalcIdentCurrentController(double inductance, double resistance,
                                                                    double samplingPeriod);

// Current controller as the family setup windows set it; the gain is at most
// kMaxCurrentControllerGain. Empty when the resistance is 0 or the result is
// not finite.
std::optional<CurrentControllerSettings> CalcCurrentControllerSettings(double inductance, double resistance,
                                                                       double samplingPeriod);

// Speed and position controllers for the total inertia `inertia`, with the
// stiffness factor `factor`, the sampling period and the two loop delays in s
// and the speed actual-value filter in ms. Empty when the effective delay of
// the speed loop, or that plus the position-loop delay, is 0, or the result is
// not finite.
std::optional<SpeedPositionSettings> CalcSpeedAndPositionController(double factor, double samplingPeriod,
                                                                    double speedDelay, double positionDelay,
                                                                    double filterMs, double inertia);

// Typical motor inertia for the rated power (kW, taken within 0.1 to 90) and
// the pole-pair number.
double EstimateMotorInertia(double ratedPowerKw, double polePairs);
