// The drive's identification unit for the identification the PC computes,
// off unless a test turns it on: the command parameter 120 and the state
// 832 (FLOAT32). 1.0 resets (832 reads 0 after `reset_delay_us`); 2.0 runs
// one measurement for the duration in 43[2] (seconds) of the drive's clock:
// 832 reads 1, then 2 with the motor's response at the current amplitude
// 42[0] and the frequency 44[0] in 833[0..3] (the voltage as e1 + j e0, the
// current as e3 + j e2 with e2 = 0); the first-step command (3.0, or 4.0 on
// family 4) sets the current controller's gain and reset time, fills the
// recorder's buffer and reports 2 after `first_step_us`. A command done
// reads 0 again. Scripts make a step fail (state 3), stay running, or drop to
// 0 once. On families 5 to 7, 4.0 is the encoder-offset detection instead:
// 832 reads 1, then `encoder_offset_end` after `encoder_offset_us`.
#pragma once

#include <complex>
#include <cstdint>
#include <vector>

namespace sim {

inline constexpr int kMotorIdentCommandParameter = 120;
inline constexpr int kMotorIdentStateParameter = 832;
inline constexpr int kMotorIdentCurrentParameter = 42;
inline constexpr int kMotorIdentTimingParameter = 43;
inline constexpr int kMotorIdentFrequencyParameter = 44;
inline constexpr int kMotorIdentResponseParameter = 833;

// A motor at the drive's terminals.
struct SimMotor {
    bool induction = true;
    double rs = 1.0;    // Ohm
    double rr = 0.8;    // Ohm, induction motor only
    double ls = 0.01;   // H: stator and rotor leakage each, or the winding's inductance
    double lh = 0.2;    // H: magnetising inductance up to the knee
    double knee = 4.0;  // A peak: above it Lh falls as knee / Im

    // Magnetising inductance at the magnetising current amplitude `im`.
    double MagnetisingAt(double im) const;
    // The magnetising inductance the motor settles at with the stator
    // current amplitude `current` at `omega` (the current divider's fixed
    // point).
    double MagnetisingFor(double current, double omega) const;
    // Stator impedance at that current and angular frequency.
    std::complex<double> Impedance(double current, double omega) const;
};

enum class MotorIdentFault { kFail, kStayRunning, kDropOnce };

struct MotorIdentScript {
    int step = 0;  // counted over the step commands (first step and measurements) from 0
    MotorIdentFault fault = MotorIdentFault::kFail;
};

struct MotorIdentUnit {
    bool enabled = false;
    SimMotor motor;
    uint64_t reset_delay_us = 100000;
    uint64_t first_step_us = 3000000;
    // What the drive's first step sets.
    float first_step_gain = 12.5f;
    float first_step_reset_ms = 1.25f;
    int reset_time_parameter = 801;  // 802 on family 4
    std::vector<MotorIdentScript> scripts;
    uint64_t encoder_offset_us = 2000000;
    float encoder_offset_end = 2.0f;
    // Set by the drive.
    int encoder_offset_runs = 0;
    int steps = 0;
    std::vector<double> step_commands;  // every step command taken, in order
};

}  // namespace sim
