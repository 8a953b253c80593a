#include "motor/numerics/controller_settings.h"

#include <cmath>

namespace {

// Fixed delay of the current loop besides 1.5 sampling periods, s (a
// single-precision value).
constexpr double kCurrentLoopExtraDelay = static_cast<double>(0.000023f);
constexpr double kCurrentLoopSamplingDelays = 1.5;
// Phase-margin constant of the current-controller gain: 60 pi (single
// precision), taken per 360 degrees.
constexpr double kCurrentGainPhase = 188.4955644607544;
constexpr double kDegreesPerTurn = 360.0;

// Identification: reset time limit in current-loop delays, the gain of the
// part of the time constant beyond it, and the shortest reset time (s, a
// single-precision value).
constexpr double kIdentResetDelays = 13.5;
constexpr double kIdentExcessGainDelays = 3.0;
constexpr double kIdentMinResetTime = static_cast<double>(0.0005f);

// Setup windows: a time constant above this (s) gets the reset time of
// kSetupResetDelays current-loop delays; below kSetupMinResetTime (s) the time
// constant is raised to it.
constexpr double kSetupLongTimeConstant = 0.0025;
constexpr double kSetupResetDelays = 24.0;
constexpr double kSetupProportionalShare = 0.25;
constexpr double kSetupMinResetTime = 0.001;

// Speed loop: sampling periods of delay, filter delay per ms of filter time
// (s), rad/s per 1/min (single precision), ms per s, and the position loop's
// margin over the speed loop.
constexpr double kSpeedLoopSamplingDelays = 3.0;
constexpr double kFilterDelayPerMs = 0.002;
constexpr double kRadPerSecondPerRpm = 0.10471975803375244;
constexpr double kMsPerSecond = 1000.0;
constexpr double kSecondsPerMinute = 60.0;
constexpr double kPositionLoopMargin = 2.5;

// Rated-power range of the inertia estimate, kW (the lower end single
// precision), the cubic's coefficients (single precision), and the pole-pair
// number from which it applies unscaled.
constexpr double kMinInertiaPowerKw = static_cast<double>(0.1f);
constexpr double kMaxInertiaPowerKw = 90.0;
constexpr double kInertiaCubic3 = static_cast<double>(4.334006e-6f);
constexpr double kInertiaCubic2 = static_cast<double>(0.0007233438f);
constexpr double kInertiaCubic1 = static_cast<double>(0.0052173184f);
constexpr double kInertiaCubic0 = static_cast<double>(0.00015676762f);
constexpr double kInertiaFullPolePairs = 3.0;

// Delay of the current loop, s.
double CurrentLoopDelay(double samplingPeriod) {
    return kCurrentLoopSamplingDelays * samplingPeriod + kCurrentLoopExtraDelay;
}

std::optional<CurrentControllerSettings> FiniteOrNone(const CurrentControllerSettings& s) {
    if (!std::isfinite(s.gain) || !std::isfinite(s.resetTime)) return std::nullopt;
    return s;
}

}  // namespace

std::optional<CurrentControllerSettings> CalcIdentCurrentController(double inductance, double resistance,
                                                                    double samplingPeriod) {
    const double delay = CurrentLoopDelay(samplingPeriod);
    if (resistance == 0.0 || delay == 0.0) return std::nullopt;
    const double tau = inductance / resistance;
    const double limit = kIdentResetDelays * delay;
    const double k = kCurrentGainPhase / (kDegreesPerTurn * delay);
    CurrentControllerSettings settings;
    if (tau >= limit) {
        settings.resetTime = limit;
        settings.gain = resistance * ((tau - limit) / (kIdentExcessGainDelays * delay) + k * limit);
    } else {
        settings.resetTime = tau;
        settings.gain = resistance * k * tau;
    }
    if (tau < kIdentMinResetTime) settings.resetTime = kIdentMinResetTime;
    return FiniteOrNone(settings);
}

std::optional<CurrentControllerSettings> CalcCurrentControllerSettings(double inductance, double resistance,
                                                                       double samplingPeriod) {
    const double delay = CurrentLoopDelay(samplingPeriod);
    if (resistance == 0.0 || delay == 0.0) return std::nullopt;
    const double tau = inductance / resistance;
    CurrentControllerSettings settings;
    if (tau > kSetupLongTimeConstant) {
        settings.resetTime = kSetupResetDelays * delay;
        settings.gain = kSetupProportionalShare * resistance * tau / delay;
    } else {
        settings.resetTime = tau < kSetupMinResetTime ? kSetupMinResetTime : tau;
        settings.gain = inductance * kCurrentGainPhase / (kDegreesPerTurn * delay);
    }
    if (settings.gain > kMaxCurrentControllerGain) settings.gain = kMaxCurrentControllerGain;
    return FiniteOrNone(settings);
}

std::optional<SpeedPositionSettings> CalcSpeedAndPositionController(double factor, double samplingPeriod,
                                                                    double speedDelay, double positionDelay,
                                                                    double filterMs, double inertia) {
    const double u = factor * (kSpeedLoopSamplingDelays * samplingPeriod + kFilterDelayPerMs * filterMs + speedDelay);
    if (u == 0.0 || u + positionDelay == 0.0) return std::nullopt;
    SpeedPositionSettings settings;
    settings.speedResetTimeMs = factor * u * kMsPerSecond;
    settings.speedGain = inertia * kRadPerSecondPerRpm / u;
    settings.positionGain = kSecondsPerMinute / ((u + positionDelay) * kPositionLoopMargin);
    if (settings.positionGain > kMaxPositionGain) settings.positionGain = kMaxPositionGain;
    if (!std::isfinite(settings.speedGain) || !std::isfinite(settings.speedResetTimeMs) ||
        !std::isfinite(settings.positionGain)) {
        return std::nullopt;
    }
    return settings;
}

double EstimateMotorInertia(double ratedPowerKw, double polePairs) {
    double power = ratedPowerKw;
    if (power <= kMinInertiaPowerKw) power = kMinInertiaPowerKw;
    if (power >= kMaxInertiaPowerKw) power = kMaxInertiaPowerKw;
    const double inertia =
        ((kInertiaCubic2 - kInertiaCubic3 * power) * power + kInertiaCubic1) * power - kInertiaCubic0;
    if (polePairs >= kInertiaFullPolePairs) return inertia;
    return inertia * polePairs * polePairs / (kInertiaFullPolePairs * kInertiaFullPolePairs);
}
