// The operating point a motor model reaches at a desired rated point: the
// flux at which the motor gives the rated torque within the rated current,
// and whether the rated voltage leaves a reserve or forces the torque (and
// perhaps the speed) down.
#pragma once

#include "motor/numerics/inductance_model.h"

// What the motor model is made of: the data the identification stored.
struct RatedPointMotor {
    double polePairs = 0.0;            // p
    double leakageInductance = 0.0;    // H
    double statorResistance = 0.0;     // Ohm
    double rotorResistance = 0.0;      // Ohm
    Polynomial4 inductanceOverFlux{};  // magnetising inductance over flux, H per Vs
};

enum class OperatingPointStatus {
    kReached = 0,         // the rated point fits
    kTorqueReduced = 1,   // the voltage is short: torque (and perhaps speed) reduced
    kVoltageReserve = 2,  // voltage is left over
};

struct RatedOperatingPoint {
    OperatingPointStatus status = OperatingPointStatus::kReached;
    double flux = 0.0;               // operating-point flux, Vs
    double neededLineVoltage = 0.0;  // V rms line-to-line, statuses 1 and 2
    double reducedTorque = 0.0;      // Nm, status 1
    double reducedSpeed = 0.0;       // 1/min, status 1
};

// The operating point at line voltage `voltage` (V rms), current `current`
// (A rms), speed `speed` (1/min) and torque `torque` (Nm).
RatedOperatingPoint CalcOperatingPoint(double voltage, double current, double speed, double torque,
                                       const RatedPointMotor& motor);
