// The operating point of a rated point on one motor model, worked through
// the search steps by hand for four rated points: one that fits, two short
// of voltage (with and without a lower speed) and one with a reserve.
#include "motor/tuning/rated_operating_point.h"

#include <gtest/gtest.h>

namespace {

// Two pole pairs, 10 mH leakage, 1.0 and 0.8 Ohm, and a magnetising
// inductance of 0.2 H that falls with the square of the flux.
RatedPointMotor FixtureMotor() {
    RatedPointMotor motor;
    motor.polePairs = 2.0;
    motor.leakageInductance = 0.01;
    motor.statorResistance = 1.0;
    motor.rotorResistance = 0.8;
    motor.inductanceOverFlux = {0.2, 0.0, -0.05, 0.0, 0.0};
    return motor;
}

double Torque(double powerKw, double speed) { return powerKw * 1000.0 / (speed * 0.10471975803375244); }

TEST(RatedOperatingPointTest, StatusFluxAndReducedPointOfFourRatedPoints) {
    struct Case {
        const char* name;
        double voltage, current, powerKw, speed;
        OperatingPointStatus status;
        double flux;
        double neededLineVoltage;  // statuses 1 and 2
        double reducedTorque;      // status 1
        double reducedSpeed;       // status 1
    } const cases[] = {
        {"fits", 500, 8, 4, 1450, OperatingPointStatus::kReached, 1.0208582669296609, 0, 0, 0},
        {"short, speed kept",
         400, 8, 4, 1450,
         OperatingPointStatus::kTorqueReduced,
         0.8482341073893085, 472.5026198382218, 24.135022433549647, 1450},
        {"short, lower speed",
         100, 8, 4, 1450,
         OperatingPointStatus::kTorqueReduced,
         0.09645588473758888, 471.12439403895075, 3.114731877123622, 1404.6712014731793},
        {"reserve",
         400, 16, 1, 500,
         OperatingPointStatus::kVoltageReserve,
         1.5907373696106455, 271.4363383964584, 0, 0},
    };
    const RatedPointMotor motor = FixtureMotor();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RatedOperatingPoint point =
            CalcOperatingPoint(c.voltage, c.current, c.speed, Torque(c.powerKw, c.speed), motor);
        EXPECT_EQ(point.status, c.status);
        EXPECT_NEAR(point.flux, c.flux, 1e-9 * c.flux);
        if (c.status == OperatingPointStatus::kReached) continue;
        EXPECT_NEAR(point.neededLineVoltage, c.neededLineVoltage, 1e-9 * c.neededLineVoltage);
        if (c.status != OperatingPointStatus::kTorqueReduced) continue;
        EXPECT_NEAR(point.reducedTorque, c.reducedTorque, 1e-9 * c.reducedTorque);
        EXPECT_NEAR(point.reducedSpeed, c.reducedSpeed, 1e-9 * c.reducedSpeed);
    }
}

}  // namespace
