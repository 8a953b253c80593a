#include "motor/numerics/operating_point.h"

#include <cmath>

#include "motor/numerics/magnetising.h"

namespace {

// Share of the peak current with which the flux-producing current starts.
constexpr double kStartFluxCurrentShare = 0.15;
// Per pass the torque search raises, and the voltage search lowers, the
// flux-producing current (or the flux) by these factors.
constexpr double kTorqueStep = 1.01;
constexpr double kVoltageStep = 0.99;
// Torque deviation that any first pass beats (a single-precision value).
constexpr double kStartTorqueDeviation = static_cast<double>(1e31f);
// Rounds of the fixed-point iteration between magnetising current and
// inductance of the exponential model.
constexpr int kMagnetisingIterations = 5;
// Electrical rad/s per 1/min and pole pair at 110 % speed (2 pi / 60 * 1.1).
constexpr double kElectricalRadPerRpmAt110 = 0.11519173633384128;
// Peak phase voltage squared per rated line voltage squared (V rms).
constexpr double kPeakPhaseVoltageSquaredShare = 2.0 / 3.0;
// The voltage search starts as if the previous voltage had been this much
// larger than the limit.
constexpr double kStartVoltageFactor = 1000.0;
// Start flux per (U / (p n)): sqrt(2/3) * 0.5 / (2 pi) * 60, in this order.
constexpr double kHalf = 0.5;
constexpr double kInverseTwoPi = 0.15915493866300567;
constexpr double kSecondsPerMinute = 60.0;
// Torque per pole pair, flux and current of the two-axis model.
constexpr double kTorqueFactor = 1.5;

// One state of a search: the quantity stepped (flux-producing current or
// flux), the flux-producing current and the magnetising inductance there.
struct SearchPoint {
    double level = 0.0;
    double id = 0.0;
    double lh = 0.0;
};

// Magnetising inductance of the exponential model at the flux-producing
// current `id`, found by iterating between inductance and magnetising current.
std::optional<double> ExpModelInductanceAt(double id, const OperatingPointInput& in, const ExpInductanceModel& model) {
    double im = id;
    double lh = 0.0;
    for (int i = 0; i < kMagnetisingIterations; ++i) {
        lh = EvalExpInductance(im, model);
        const std::optional<double> next = MagnetisingCurrentFromTotal(lh, in.leakageInductance, id, in.peakCurrent);
        if (!next) return std::nullopt;
        im = *next;
    }
    return lh;
}

// Squared peak phase voltage the motor needs at `omega` (electrical rad/s).
// A flux-producing current above the peak current gives NaN, which ends the
// voltage search at once, as a square root of a negative number should.
std::optional<double> VoltageSquared(const OperatingPointInput& in, double omega, double id, double lh) {
    const double lt = in.leakageInductance + lh;
    if (lt == 0.0 || id == 0.0) return std::nullopt;
    const double current = in.peakCurrent;
    const double rs = in.statorResistance;
    const double rr = in.rotorResistance;
    const double iq = std::sqrt(current * current - id * id);
    const double uq = id * omega * lt + (rs + rr) * iq;
    const double ud = rs * id - iq * ((lt - lh * lh / lt) * (omega + iq * (rr / lt) / id));
    return uq * uq + ud * ud;
}

// Lowers the stepped quantity while the needed voltage is above the limit and
// still falls. `at(level)` gives the search point for a level. The result is
// the last point computed, also when its voltage no longer fell.
template <typename PointAt>
std::optional<SearchPoint> ReduceToVoltageLimit(const OperatingPointInput& in, SearchPoint point, PointAt at) {
    const double omega = in.polePairs * in.speed * kElectricalRadPerRpmAt110;
    const double limit = in.voltage * in.voltage * kPeakPhaseVoltageSquaredShare;
    std::optional<double> voltage = VoltageSquared(in, omega, point.id, point.lh);
    if (!voltage) return std::nullopt;
    double previous = kStartVoltageFactor * limit;
    while (*voltage > limit) {
        if (!(*voltage < previous)) break;
        const std::optional<SearchPoint> next = at(kVoltageStep * point.level);
        if (!next) return std::nullopt;
        const std::optional<double> nextVoltage = VoltageSquared(in, omega, next->id, next->lh);
        if (!nextVoltage) return std::nullopt;
        point = *next;
        previous = *voltage;
        voltage = nextVoltage;
    }
    return point;
}

std::optional<OperatingPoint> FinitePoint(const OperatingPoint& point) {
    if (!std::isfinite(point.flux) || !std::isfinite(point.inductance)) return std::nullopt;
    return point;
}

}  // namespace

std::optional<OperatingPoint> OperatingPointFromExpModel(const OperatingPointInput& in,
                                                         const ExpInductanceModel& model) {
    const double current = in.peakCurrent;
    const double ls = in.leakageInductance;
    double id = kStartFluxCurrentShare * current;
    double torque = 0.0;
    double lh = 0.0;
    double previousDeviation = kStartTorqueDeviation;
    while (current > kTorqueStep * id) {
        const double deviation = std::fabs(torque - in.torque);
        if (!(deviation < previousDeviation) || torque >= in.torque) break;
        const double nextId = kTorqueStep * id;
        const std::optional<double> nextLh = ExpModelInductanceAt(nextId, in, model);
        if (!nextLh) return std::nullopt;
        lh = *nextLh;
        if (lh + ls == 0.0) return std::nullopt;
        torque = kTorqueFactor * in.polePairs * lh * lh / (lh + ls) * nextId *
                 std::sqrt(current * current - nextId * nextId);
        id = nextId;
        previousDeviation = deviation;
    }

    const std::optional<SearchPoint> point =
        ReduceToVoltageLimit(in, SearchPoint{id, id, lh}, [&](double level) -> std::optional<SearchPoint> {
            const std::optional<double> inductance = ExpModelInductanceAt(level, in, model);
            if (!inductance) return std::nullopt;
            return SearchPoint{level, level, *inductance};
        });
    if (!point) return std::nullopt;
    return FinitePoint(OperatingPoint{point->id * point->lh, point->lh});
}

std::optional<OperatingPoint> OperatingPointFromPolynomial(const OperatingPointInput& in,
                                                           const Polynomial4& coefficients) {
    const double current = in.peakCurrent;
    const double ls = in.leakageInductance;
    const double turns = in.polePairs * in.speed;
    if (turns == 0.0) return std::nullopt;
    auto at = [&](double flux) -> std::optional<SearchPoint> {
        const double inductance = EvalPolynomial4(flux, coefficients);
        if (inductance == 0.0) return std::nullopt;
        return SearchPoint{flux, flux / inductance, inductance};
    };
    std::optional<SearchPoint> point =
        at(std::sqrt(2.0 / 3.0) * kHalf * kInverseTwoPi * in.voltage * kSecondsPerMinute / turns);
    if (!point) return std::nullopt;

    if (kTorqueStep * point->id < current) {
        double previousDeviation = kStartTorqueDeviation;
        double torque = 0.0;
        for (;;) {
            const double deviation = std::fabs(torque - in.torque);
            if (!(deviation < previousDeviation) || torque >= in.torque) break;
            point = at(kTorqueStep * point->level);
            if (!point) return std::nullopt;
            const double l = point->lh;
            if (l + ls == 0.0) return std::nullopt;
            // In the pass that ends the search the current may exceed the peak
            // current; the torque is then NaN and goes unused.
            torque = kTorqueFactor * in.polePairs * point->level *
                     std::sqrt(current * current - point->id * point->id) * l / (l + ls);
            if (kTorqueStep * point->id >= current) break;
            previousDeviation = deviation;
        }
    }

    point = ReduceToVoltageLimit(in, *point, at);
    if (!point) return std::nullopt;
    return FinitePoint(OperatingPoint{point->level, point->lh});
}
