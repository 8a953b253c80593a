#include "motor/tuning/rated_operating_point.h"

#include <cmath>
#include <limits>

namespace {

constexpr double kPeakPerRms = 1.4142135623730951;
// Peak phase voltage per line voltage (V rms): sqrt(2/3).
constexpr double kPeakPhasePerLine = 0.816496580927726;
// Start flux per (peak phase voltage / (p n)), with 60 s per minute after it.
constexpr double kStartFluxFactor = 0.07957746933150284;
constexpr double kSecondsPerMinute = 60.0;
// Per pass the searches raise or lower the flux by these factors.
constexpr double kRaiseStep = 1.01;
constexpr double kLowerStep = 0.99;
// Needed voltage squared above this share of the available one reduces the
// torque; below the other share the point has a reserve.
constexpr double kShortShare = 1.05;
constexpr double kReserveShare = 0.85;
// Electrical rad/s per 1/min and pole pair at 110 % speed (2 pi / 60 x 1.1).
constexpr double kElectricalRadPerRpmAt110 = 0.11519173633384128;
// 1/min per rad/s (60 / (2 pi)).
constexpr double kRpmPerRadPerSecond = 9.54929631978034;
constexpr double kTorqueFactor = 1.5;
// Line voltage squared per peak phase voltage squared.
constexpr double kLineSquaredPerPeakPhaseSquared = 1.5;

// One flux tried: the magnetising inductance there, the two currents and the
// squared peak phase voltage the motor needs.
struct FluxPoint {
    double flux = 0.0;
    double l = 0.0;
    double id = 0.0;
    double iq = 0.0;
    double needed2 = 0.0;
};

class MotorModel {
public:
    MotorModel(const RatedPointMotor& motor, double peakCurrent, double omega)
        : m_(motor), peakCurrent_(peakCurrent), omega_(omega) {}

    FluxPoint At(double flux) const {
        FluxPoint p;
        p.flux = flux;
        p.l = EvalPolynomial4(flux, m_.inductanceOverFlux);
        p.id = flux / p.l;
        p.iq = std::sqrt(std::pow(peakCurrent_, 2.0) - std::pow(p.id, 2.0));
        const double lt = p.l + m_.leakageInductance;
        const double rs = m_.statorResistance;
        const double rr = m_.rotorResistance;
        const double ud = p.id * rs - ((rr / lt) * p.iq / p.id + omega_) * (lt - std::pow(p.l, 2.0) / lt) * p.iq;
        const double uq = (rs + rr) * p.iq + p.id * omega_ * lt;
        p.needed2 = std::pow(ud, 2.0) + std::pow(uq, 2.0);
        return p;
    }

    double Torque(const FluxPoint& p) const {
        return p.l / (p.l + m_.leakageInductance) * p.iq * p.flux * m_.polePairs * kTorqueFactor;
    }

    // The speed at which the motor needs just the available voltage.
    double LowerSpeed(const FluxPoint& p, double available2) const {
        const double l = p.l;
        const double lt = l + m_.leakageInductance;
        const double rs = m_.statorResistance;
        const double rr = m_.rotorResistance;
        const double id2 = std::pow(p.id, 2.0);
        const double iq2 = std::pow(p.iq, 2.0);
        const double k = 2.0 * (std::pow(l, 2.0) * rs + std::pow(lt, 2.0) * rr);
        const double a =
            std::pow(l, 4.0) * iq2 - 2.0 * std::pow(l, 2.0) * std::pow(lt, 2.0) * iq2 + std::pow(lt, 4.0) * (id2 + iq2);
        const double b = available2 - std::pow(rr, 2.0) * iq2 - 2.0 * rs * rr * iq2 - std::pow(rs, 2.0) * id2 -
                         std::pow(rs, 2.0) * iq2;
        const double w =
            (std::sqrt(std::pow(lt, 2.0) * (std::pow(k, 2.0) * id2 * iq2 + 4.0 * a * b)) - k * p.id * p.iq * lt) /
            (2.0 * a);
        return w / m_.polePairs * kRpmPerRadPerSecond;
    }

private:
    const RatedPointMotor& m_;
    double peakCurrent_;
    double omega_;
};

}  // namespace

RatedOperatingPoint CalcOperatingPoint(double voltage, double current, double speed, double torque,
                                       const RatedPointMotor& motor) {
    const double peakCurrent = current * kPeakPerRms;
    const double available = voltage * kPeakPhasePerLine;
    const double available2 = std::pow(available, 2.0);
    const MotorModel model(motor, peakCurrent, speed * motor.polePairs * kElectricalRadPerRpmAt110);

    // The flux rises until the torque is reached or comes no closer.
    FluxPoint point = model.At(available * kStartFluxFactor / motor.polePairs * kSecondsPerMinute / speed);
    double reached = 0.0;
    double previousDeviation = std::numeric_limits<double>::infinity();
    while (kRaiseStep * point.id < peakCurrent) {
        const double deviation = std::fabs(reached - torque);
        if (reached >= torque || !(deviation < previousDeviation)) break;
        previousDeviation = deviation;
        point = model.At(point.flux * kRaiseStep);
        reached = model.Torque(point);
    }

    RatedOperatingPoint result;
    result.flux = point.flux;
    const double needed2 = point.needed2;
    const bool shortOfVoltage = needed2 > kShortShare * available2;
    if (!shortOfVoltage && !(needed2 < kReserveShare * available2)) return result;

    result.status = shortOfVoltage ? OperatingPointStatus::kTorqueReduced : OperatingPointStatus::kVoltageReserve;
    result.neededLineVoltage = std::sqrt(kLineSquaredPerPeakPhaseSquared * needed2);
    // Short of voltage the flux falls while the voltage still falls; with a
    // reserve it rises while the voltage still rises.
    double previous = shortOfVoltage ? std::numeric_limits<double>::infinity() : -1.0;
    for (;;) {
        const bool goOn = shortOfVoltage ? point.needed2 > available2 && point.needed2 < previous
                                         : point.needed2 < available2 && point.needed2 > previous;
        if (!goOn) break;
        previous = point.needed2;
        point = model.At(point.flux * (shortOfVoltage ? kLowerStep : kRaiseStep));
    }
    result.flux = point.flux;
    result.reducedTorque = model.Torque(point);
    result.reducedSpeed = point.needed2 > available2 ? model.LowerSpeed(point, available2) : speed;
    return result;
}
